#include "scenario.h"

#include <gtest/gtest.h>

#include "hex_text.h"
#include "jtdx_messages.h"
#include "replay_options.h"

namespace {

std::vector<ScenarioStep> Steps(std::string_view text) {
  std::string reason;
  auto steps = ParseScenario(text, "s.txt", reason);
  EXPECT_TRUE(steps) << reason;
  return steps.value_or(std::vector<ScenarioStep>{});
}

std::vector<std::uint8_t> Only(std::string_view text) {
  const auto steps = Steps(text);
  EXPECT_EQ(steps.size(), 1u);
  return steps.empty() ? std::vector<std::uint8_t>{} : steps.front().Datagram;
}

std::string ReasonOf(std::string_view text) {
  std::string reason = "no reason";
  EXPECT_FALSE(ParseScenario(text, "s.txt", reason));
  return reason;
}

TEST(Scenario, NamedFieldsOverrideDefaults) {
  StatusMessage status;
  status.DialFrequency = 14074000;
  status.DxCall = "K1ABC";
  status.Report = "-5";
  status.RxDf = 1200;
  status.TxDf = 1500;
  EXPECT_EQ(Only("status dial=14074000 mode=FT8 dxcall=K1ABC report=-5 rxdf=1200 txdf=1500"), EncodeMessage(status));

  QsoLoggedMessage qso;
  qso.Name = "Bob \"the\" Builder";
  qso.Comments = "tnx fer QSO \\o/";
  qso.RptSent = "-5";
  qso.TimeOn.MsOfDay = 18 * 3600000 + 30 * 60000;
  qso.TimeOn.JulianDay = qso.TimeOff.JulianDay = JulianDay(2024, 12, 24);
  EXPECT_EQ(Only(R"(qso sent=-5 name="Bob \"the\" Builder" comments="tnx fer QSO \\o/" date=2024-12-24 timeon=18:30)"),
            EncodeMessage(qso));

  DecodeMessage decode;
  decode.Snr = -20;
  decode.DeltaTime = -0.4;
  decode.Mode = "#";
  decode.Message = "CQ DX K1ABC FN42";
  EXPECT_EQ(Only(R"(decode snr=-20 dt=-0.4 mode=# message="CQ DX K1ABC FN42")"), EncodeMessage(decode));
}

TEST(Scenario, WaitsRawCommentsAndBlankLines) {
  const auto steps = Steps(
      "# a session\r\n"
      "\n"
      "heartbeat id=\"JTDX - IC7300\"   # trailing comment\n"
      "  wait 250\n"
      "raw AD BC cbda 00\n"
      "close");
  ASSERT_EQ(steps.size(), 4u);
  HeartbeatMessage heartbeat;
  heartbeat.Header.Id = "JTDX - IC7300";
  EXPECT_EQ(steps[0].Datagram, EncodeMessage(heartbeat));
  EXPECT_EQ(steps[1].What, ScenarioStep::Kind::Wait);
  EXPECT_EQ(steps[1].WaitMs, 250u);
  EXPECT_EQ(steps[2].Datagram, (std::vector<std::uint8_t>{0xAD, 0xBC, 0xCB, 0xDA, 0x00}));
  EXPECT_EQ(steps[3].Datagram, EncodeMessage(CloseMessage{}));
}

TEST(Scenario, BadLinesNameFileAndLine) {
  EXPECT_EQ(ReasonOf("heartbeat\nstatsu dial=1\n"),
            "s.txt:2: unknown message 'statsu' (known: heartbeat status decode clear qso close wait raw)");
  EXPECT_EQ(ReasonOf("status dial=14.074"),
            "s.txt:1: dial: expected a whole number from 0 to 18446744073709551615, got '14.074'");
  EXPECT_EQ(ReasonOf("status rxdf=3000000000"),
            "s.txt:1: rxdf: expected a whole number from -2147483648 to 2147483647, got '3000000000'");
  EXPECT_EQ(ReasonOf("qso name=\"Bob"), "s.txt:1: missing closing quote");
  EXPECT_EQ(ReasonOf("qso call=A call=B"), "s.txt:1: field 'call' given twice");
  EXPECT_EQ(ReasonOf("clear now"), "s.txt:1: expected key=value, got 'now'");
  EXPECT_EQ(ReasonOf("clear call=K1ABC"), "s.txt:1: unknown field 'call' for clear (known: id schema)");
  EXPECT_EQ(ReasonOf("wait"), "s.txt:1: wait needs one number of milliseconds, e.g. wait 300");
  EXPECT_EQ(ReasonOf("raw ADB"), "s.txt:1: raw needs the datagram's bytes as hex digits, e.g. raw ADBCCBDA 00000002");
  EXPECT_EQ(ReasonOf("qso timeon=25:00"),
            "s.txt:1: timeon: expected a time HH:MM, HH:MM:SS or HH:MM:SS.mmm, got '25:00'");
  EXPECT_EQ(ReasonOf("qso date=2023-02-29"), "s.txt:1: date: expected a date YYYY-MM-DD, got '2023-02-29'");
  EXPECT_EQ(ReasonOf("status txenabled=maybe"),
            "s.txt:1: txenabled: expected 1, 0, true, false, yes or no, got 'maybe'");
}

TEST(ReplayOptions, PortModesAndFiles) {
  ReplayOptions options;
  std::string reason;
  ASSERT_TRUE(
      ParseReplayOptions({"--to", "239.255.0.1", "--port", "2238", "--dump", "a.txt", "b.txt"}, options, reason))
      << reason;
  EXPECT_EQ(FormatIpv4(options.To), "239.255.0.1");
  EXPECT_EQ(options.Port, 2238);
  EXPECT_TRUE(options.Dump);
  EXPECT_FALSE(options.Raw);
  EXPECT_EQ(options.Files, (std::vector<std::string>{"a.txt", "b.txt"}));

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--port", "70000", "a"},
                                                                                   {"--port", "0", "a"},
                                                                                   {"--port"},
                                                                                   {"--raw"},
                                                                                   {},
                                                                                   {"--loud", "a"},
                                                                                   {"--to", "239.255.0", "a"},
                                                                                   {"--to", "239.256.0.1", "a"},
                                                                                   {"--to", "239.255.0.1.", "a"}}) {
    ReplayOptions ignored;
    EXPECT_FALSE(ParseReplayOptions(bad, ignored, reason)) << ::testing::PrintToString(bad);
    EXPECT_FALSE(reason.empty());
  }
}

TEST(HexText, RoundTripsAndRefusesBadDigits) {
  EXPECT_EQ(FormatHex({0xAD, 0x00, 0x0F}), "ad000f");
  EXPECT_EQ(ParseHex("AD 00\t0f"), (std::vector<std::uint8_t>{0xAD, 0x00, 0x0F}));
  EXPECT_FALSE(ParseHex("A D"));
  EXPECT_FALSE(ParseHex("ADX0"));
  EXPECT_FALSE(ParseHex("ADB"));
}

}  // namespace
