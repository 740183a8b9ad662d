#include "host/transcript.h"

#include <charconv>
#include <cmath>

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
