#include "host/host_call.h"

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

std::string FormatHostCall(const HostCall& call, char separator, std::string (*text_format)(std::string_view)) {
  std::string line(HostCallName(call.Op));
  line += separator;
  switch (call.Op) {
    case HostCall::Operation::SetLogField:
      line += std::to_string(call.Index);
      line += separator;
      [[fallthrough]];
    case HostCall::Operation::ExecMacro: return line + text_format(call.Text);
    case HostCall::Operation::TxFrequency:
    case HostCall::Operation::RxFrequency: return line + FormatHertz(call.Hz);
  }
  return line;
}
