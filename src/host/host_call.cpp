#include "host/host_call.h"

#include <charconv>
#include <cmath>

std::string_view HostCallName(HostCall::Operation op) {
  switch (op) {
    case HostCall::Operation::ExecMacro: return "ExecMacro";
    case HostCall::Operation::SetLogField: return "SetLogField";
    case HostCall::Operation::TxFrequency: return "TxFrequency";
    case HostCall::Operation::RxFrequency: return "RxFrequency";
  }
  return "?";
}

void AppendHertz(double hz, std::string& out) {
  char text[32];  // "-1.2345678901234567e-308" is the longest
  std::to_chars_result written;
  if (std::trunc(hz) == hz && std::fabs(hz) < 9.2e18) {
    written = std::to_chars(text, text + sizeof text, static_cast<long long>(hz));
  } else {
    written = std::to_chars(text, text + sizeof text, hz, std::chars_format::general, 17);
  }
  out.append(text, written.ptr);
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
