#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A scenario file: one step a line.
//
//   # a comment
//   heartbeat
//   status dial=14074000 mode=FT8 dxcall=K1ABC report=-5 rxdf=1200 txdf=1500
//   decode snr=-12 df=1200 message="CQ K1ABC FN42"
//   qso call=K1ABC grid=FN42 freq=14075500 sent=-5 rcvd=-12 name="Bob" comments="tnx"
//   clear
//   close
//   wait 300
//   raw AD BC CB DA 00 00 00 02
//
// Messages take named fields (key=value, "quoted" for texts with spaces, \"
// and \\ inside quotes); every field not given keeps its default.

struct ScenarioStep {
  enum class Kind { Send, Wait };
  Kind What = Kind::Send;
  std::vector<std::uint8_t> Datagram;  // kSend
  std::uint32_t WaitMs = 0;            // kWait
};

// Parses a whole scenario. At the first bad line returns nothing, with the
// reason: the message with "NAME:LINE: " in front, name being the file's.
[[nodiscard]] std::optional<std::vector<ScenarioStep>> ParseScenario(std::string_view text, std::string_view name,
                                                                     std::string& reason);
