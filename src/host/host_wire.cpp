#include "host/host_wire.h"

#include "host/transcript.h"

void AppendEscapedWireText(std::string_view text, std::string& out) {
  // The bytes between two that need escaping go in one piece.
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char escape;
    switch (text[i]) {
      case '\\': escape = '\\'; break;
      case '\t': escape = 't'; break;
      case '\n': escape = 'n'; break;
      case '\r': escape = 'r'; break;
      default: continue;
    }
    out.append(text.data() + plain, i - plain);
    out += '\\';
    out += escape;
    plain = i + 1;
  }
  out.append(text.data() + plain, text.size() - plain);
}

std::string EscapeWireText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscapedWireText(text, out);
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

void AppendWireRequest(const HostCall& call, std::string& out) {
  AppendHostCall(call, '\t', AppendEscapedWireText, out);
  out += '\n';
}

WireReply ParseWireReply(std::string_view line, std::string& reason) {
  if (line == "OK") return WireReply::Ok;
  if (line.starts_with("ERR\t")) {
    // A message with a broken escape is still worth showing as it came.
    const auto raw = line.substr(4);
    reason = UnescapeWireText(raw).value_or(std::string(raw));
    return WireReply::Refused;
  }
  reason = "unreadable reply from the host: " + QuoteTranscriptText(line.substr(0, 80));
  return WireReply::Malformed;
}
