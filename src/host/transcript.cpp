#include "host/transcript.h"

#include <cmath>
#include <cstdio>

std::string QuoteTranscriptText(std::string_view text) {
  std::string out = "\"";
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
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02X", byte);
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string FormatHertz(double hz) {
  char text[40];
  if (std::trunc(hz) == hz && std::fabs(hz) < 9.2e18) {
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(hz));
  } else {
    std::snprintf(text, sizeof text, "%.17g", hz);
  }
  return text;
}

std::string TranscriptLine(const HostCall& call) { return FormatHostCall(call, ' ', QuoteTranscriptText); }
