#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// One call of the bridge to the host, as the substitute host's protocol and
// the transcripts spell it. Index is the log field's number for SetLogField;
// Text goes with ExecMacro and SetLogField, Hz with the two frequencies.
struct HostCall {
  enum class Operation { ExecMacro, SetLogField, TxFrequency, RxFrequency };

  Operation Op = Operation::ExecMacro;
  std::int32_t Index = 0;
  std::string_view Text;
  double Hz = 0;

  static HostCall Macro(std::string_view text) { return {Operation::ExecMacro, 0, text, 0}; }
  static HostCall Field(std::int32_t index, std::string_view text) { return {Operation::SetLogField, index, text, 0}; }
  static HostCall Tx(double hz) { return {Operation::TxFrequency, 0, {}, hz}; }
  static HostCall Rx(double hz) { return {Operation::RxFrequency, 0, {}, hz}; }
};

// The operation's name as the host knows it: "ExecMacro", "SetLogField", ...
std::string_view HostCallName(HostCall::Operation op);

// A frequency as the exact integer it holds, or as %.17g writes it when it
// has a fraction or no 64-bit integer holds it.
void AppendHertz(double hz, std::string& out);

// Appends the operation's name, then the index, the text as append_text
// writes it or the frequency in exact hertz, each behind the separator: the
// shape shared by the request lines and the transcript lines.
void AppendHostCall(const HostCall& call, char separator, void (*append_text)(std::string_view, std::string&),
                    std::string& out);
