#include "sim_requests.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "host/host_wire.h"
#include "sim_host.h"

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const auto tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// A whole decimal number filling the field, with an optional minus sign.
template <typename Int>
std::optional<Int> ParseDecimal(std::string_view field) {
  if (field.empty() || field.front() == '+') return std::nullopt;
  Int value{};
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<HostCall> ParseWireRequest(std::string_view line, std::string& text, std::string& reason) {
  const auto fields = SplitTabs(line);
  const std::string_view name = fields[0];
  HostCall call;
  std::size_t expected = 2;
  if (name == "ExecMacro") {
    call.Op = HostCall::Operation::ExecMacro;
  } else if (name == "SetLogField") {
    call.Op = HostCall::Operation::SetLogField;
    expected = 3;
  } else if (name == "TxFrequency") {
    call.Op = HostCall::Operation::TxFrequency;
  } else if (name == "RxFrequency") {
    call.Op = HostCall::Operation::RxFrequency;
  } else {
    reason = "unknown request \"" + std::string(name) + "\"";
    return std::nullopt;
  }
  if (fields.size() != expected) {
    reason = std::string(name) + " takes " + std::to_string(expected - 1) + " field(s), got " +
             std::to_string(fields.size() - 1);
    return std::nullopt;
  }

  switch (call.Op) {
    case HostCall::Operation::SetLogField: {
      const auto index = ParseDecimal<std::int32_t>(fields[1]);
      if (!index) {
        reason = "SetLogField index is not a 32-bit integer: \"" + std::string(fields[1]) + "\"";
        return std::nullopt;
      }
      call.Index = *index;
      [[fallthrough]];
    }
    case HostCall::Operation::ExecMacro: {
      auto unescaped = UnescapeWireText(fields.back());
      if (!unescaped) {
        reason = "bad escape in text";
        return std::nullopt;
      }
      text = std::move(*unescaped);
      call.Text = text;
      break;
    }
    case HostCall::Operation::TxFrequency:
    case HostCall::Operation::RxFrequency: {
      const auto hz = ParseDecimal<long long>(fields[1]);
      if (!hz) {
        reason = std::string(name) + " needs a whole number of hertz, got \"" + std::string(fields[1]) + "\"";
        return std::nullopt;
      }
      call.Hz = static_cast<double>(*hz);
      break;
    }
  }
  return call;
}

std::string OkReply() { return "OK\n"; }
std::string ErrReply(std::string_view message) { return "ERR\t" + EscapeWireText(message) + "\n"; }

std::string AnswerRequestLine(SimHost& host, std::string_view line) {
  std::string text;
  std::string reason;
  const auto call = ParseWireRequest(line, text, reason);
  if (!call) {
    std::fprintf(stderr, "tolm-sim: bad request: %s\n", reason.c_str());
    std::fflush(stderr);
    return ErrReply(reason);
  }
  std::string refusal;
  bool done = false;
  switch (call->Op) {
    case HostCall::Operation::ExecMacro: done = host.ExecMacro(call->Text, refusal); break;
    case HostCall::Operation::SetLogField:
      done = host.SetLogField(static_cast<LogField>(call->Index), call->Text, refusal);
      break;
    case HostCall::Operation::TxFrequency: done = host.TxFrequency(call->Hz, refusal); break;
    case HostCall::Operation::RxFrequency: done = host.RxFrequency(call->Hz, refusal); break;
  }
  return done ? OkReply() : ErrReply(refusal);
}
