#include "host/host_wire.h"

#include <charconv>
#include <vector>

#include "host/transcript.h"

std::string EscapeWireText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::optional<std::string> UnescapeWireText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::string ExecMacroRequest(std::string_view text) { return "ExecMacro\t" + EscapeWireText(text) + "\n"; }

std::string SetLogFieldRequest(std::int32_t index, std::string_view text) {
  return "SetLogField\t" + std::to_string(index) + "\t" + EscapeWireText(text) + "\n";
}

// The same digits as the transcript shows, so both sides of a trip agree.
std::string TxFrequencyRequest(double hz) { return "TxFrequency\t" + FormatHertz(hz) + "\n"; }
std::string RxFrequencyRequest(double hz) { return "RxFrequency\t" + FormatHertz(hz) + "\n"; }

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

std::optional<WireRequest> ParseWireRequest(std::string_view line, std::string& error) {
  const auto fields = SplitTabs(line);
  const std::string_view name = fields[0];
  WireRequest request;
  std::size_t expected = 0;
  if (name == "ExecMacro") {
    request.kind = WireRequest::Kind::ExecMacro;
    expected = 2;
  } else if (name == "SetLogField") {
    request.kind = WireRequest::Kind::SetLogField;
    expected = 3;
  } else if (name == "TxFrequency" || name == "RxFrequency") {
    request.kind = name == "TxFrequency" ? WireRequest::Kind::TxFrequency : WireRequest::Kind::RxFrequency;
    expected = 2;
  } else {
    error = "unknown request \"" + std::string(name) + "\"";
    return std::nullopt;
  }
  if (fields.size() != expected) {
    error = std::string(name) + " takes " + std::to_string(expected - 1) + " field(s), got " +
            std::to_string(fields.size() - 1);
    return std::nullopt;
  }

  switch (request.kind) {
    case WireRequest::Kind::SetLogField: {
      const auto index = ParseDecimal<std::int32_t>(fields[1]);
      if (!index) {
        error = "SetLogField index is not a 32-bit integer: \"" + std::string(fields[1]) + "\"";
        return std::nullopt;
      }
      request.index = *index;
      [[fallthrough]];
    }
    case WireRequest::Kind::ExecMacro: {
      auto text = UnescapeWireText(fields.back());
      if (!text) {
        error = "bad escape in text";
        return std::nullopt;
      }
      request.text = std::move(*text);
      break;
    }
    case WireRequest::Kind::TxFrequency:
    case WireRequest::Kind::RxFrequency: {
      const auto hz = ParseDecimal<long long>(fields[1]);
      if (!hz) {
        error = std::string(name) + " needs a whole number of hertz, got \"" + std::string(fields[1]) + "\"";
        return std::nullopt;
      }
      request.hz = static_cast<double>(*hz);
      break;
    }
  }
  return request;
}

std::string OkReply() { return "OK\n"; }
std::string ErrReply(std::string_view message) { return "ERR\t" + EscapeWireText(message) + "\n"; }

WireReply ParseWireReply(std::string_view line) {
  WireReply reply;
  if (line == "OK") {
    reply.ok = true;
    return reply;
  }
  if (line.starts_with("ERR\t")) {
    // A message with a broken escape is still worth showing as it came.
    const auto raw = line.substr(4);
    reply.message = UnescapeWireText(raw).value_or(std::string(raw));
    return reply;
  }
  reply.malformed = true;
  reply.message = "unreadable reply from the host: " + QuoteTranscriptText(line.substr(0, 80));
  return reply;
}
