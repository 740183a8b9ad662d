#include "host/host_wire.h"

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

std::string WireRequestLine(const HostCall& call) { return FormatHostCall(call, '\t', EscapeWireText) + "\n"; }

WireReply ParseWireReply(std::string_view line) {
  WireReply reply;
  if (line == "OK") {
    reply.Ok = true;
    return reply;
  }
  if (line.starts_with("ERR\t")) {
    // A message with a broken escape is still worth showing as it came.
    const auto raw = line.substr(4);
    reply.Message = UnescapeWireText(raw).value_or(std::string(raw));
    return reply;
  }
  reply.Malformed = true;
  reply.Message = "unreadable reply from the host: " + QuoteTranscriptText(line.substr(0, 80));
  return reply;
}
