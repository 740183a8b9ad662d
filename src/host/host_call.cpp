#include "host/host_call.h"

#include <charconv>

#include "host/transcript.h"

std::string_view HostCallName(HostCall::Operation op) {
  switch (op) {
    case HostCall::Operation::ExecMacro: return "ExecMacro";
    case HostCall::Operation::SetLogField: return "SetLogField";
    case HostCall::Operation::TxFrequency: return "TxFrequency";
    case HostCall::Operation::RxFrequency: return "RxFrequency";
  }
  return "?";
}

void AppendHostCall(const HostCall& call, char separator, void (*append_text)(std::string_view, std::string&),
                    std::string& out) {
  out += HostCallName(call.Op);
  out += separator;
  switch (call.Op) {
    case HostCall::Operation::SetLogField: {
      char index[12];
      out.append(index, std::to_chars(index, index + sizeof index, call.Index).ptr);
      out += separator;
      [[fallthrough]];
    }
    case HostCall::Operation::ExecMacro: append_text(call.Text, out); break;
    case HostCall::Operation::TxFrequency:
    case HostCall::Operation::RxFrequency: AppendHertz(call.Hz, out); break;
  }
}
