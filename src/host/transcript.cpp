#include "host/transcript.h"

void AppendQuotedTranscriptText(std::string_view text, std::string& out) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          const char hex[] = {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0xF]};
          out.append(hex, sizeof hex);
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

std::string QuoteTranscriptText(std::string_view text) {
  std::string out;
  AppendQuotedTranscriptText(text, out);
  return out;
}

std::string FormatHertz(double hz) {
  std::string out;
  AppendHertz(hz, out);
  return out;
}

std::string TranscriptLine(const HostCall& call) {
  std::string line;
  AppendHostCall(call, ' ', AppendQuotedTranscriptText, line);
  return line;
}
