#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The line protocol between the bridge and the substitute host on a local
// stream socket. A request is one line, fields separated by TAB, ended by LF:
//   ExecMacro<TAB>text
//   SetLogField<TAB>index<TAB>text
//   TxFrequency<TAB>hz
//   RxFrequency<TAB>hz
// The reply is "OK" or "ERR<TAB>message", also ended by LF. In texts and
// messages backslash, TAB, LF and CR travel as \\ \t \n \r; every other byte
// goes as it is (UTF-8 stays UTF-8). hz is the exact integer in decimal.

std::string EscapeWireText(std::string_view text);
// nullopt when the text holds a lone backslash or an unknown escape.
std::optional<std::string> UnescapeWireText(std::string_view text);

// Complete request lines, LF included.
std::string ExecMacroRequest(std::string_view text);
std::string SetLogFieldRequest(std::int32_t index, std::string_view text);
std::string TxFrequencyRequest(double hz);
std::string RxFrequencyRequest(double hz);

struct WireRequest {
  enum class Kind { ExecMacro, SetLogField, TxFrequency, RxFrequency };
  Kind kind = Kind::ExecMacro;
  std::int32_t index = 0;  // SetLogField
  std::string text;        // ExecMacro, SetLogField (unescaped)
  double hz = 0;           // TxFrequency, RxFrequency
};

// Parses one request line without its LF. On a malformed line returns nullopt
// with the reason in error.
std::optional<WireRequest> ParseWireRequest(std::string_view line, std::string& error);

// Complete reply lines, LF included.
std::string OkReply();
std::string ErrReply(std::string_view message);

// A reply line without its LF, as the client sees it.
struct WireReply {
  bool ok = false;
  std::string message;  // why the host refused, or why the reply is unreadable
  bool malformed = false;
};
WireReply ParseWireReply(std::string_view line);
