#include "bridge/clean_text.h"

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes the character at `pos` and moves past it. An invalid sequence
// yields kInvalid and is left after its longest valid start (at least one
// byte), so each maximal invalid part becomes one U+FFFD.
char32_t DecodeAt(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(pos++);
  if (lead < 0x80) return lead;
  int more = 0;
  char32_t code = 0;
  unsigned char low = 0x80;  // the second byte's range, narrowed against overlongs and surrogates
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2, code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3, code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return kInvalid;
  }
  for (int i = 0; i < more; ++i, low = 0x80, high = 0xBF) {
    if (pos >= text.size() || byte(pos) < low || byte(pos) > high) return kInvalid;
    code = (code << 6) | (byte(pos++) & 0x3F);
  }
  return code;
}

bool IsControl(char32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

}  // namespace

std::string_view CleanTextFrom(std::string_view text, std::size_t pos, std::string& scratch) {
  // Printable ASCII is taken as it is; only what is left needs decoding.
  while (pos < text.size()) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c >= 0x20 && c < 0x7F) {
      ++pos;
      continue;
    }
    std::size_t next = pos;
    const char32_t code = DecodeAt(text, next);
    if (code == kInvalid || IsControl(code)) break;
    pos = next;
  }
  if (pos == text.size()) return text;

  scratch.assign(text.substr(0, pos));
  bool in_control_run = false;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const char32_t code = DecodeAt(text, pos);
    const bool control = code != kInvalid && IsControl(code);
    // A run of them stands between words ("tnx\t73", "73\r\nbest"): one
    // space keeps the words apart.
    if (control && !in_control_run) scratch += ' ';
    in_control_run = control;
    if (code == kInvalid) {
      scratch += "\xEF\xBF\xBD";  // U+FFFD
    } else if (!control) {
      scratch.append(text.substr(start, pos - start));
    }
  }
  return scratch;
}

std::string SenderName(std::string_view id) {
  std::string scratch;
  std::string_view name = CleanText(id, scratch);
  std::size_t characters = 0;
  for (std::size_t at = 0; at < name.size(); ++at) {
    const bool starts_character = (static_cast<unsigned char>(name[at]) & 0xC0) != 0x80;
    if (starts_character && ++characters > kSenderNameMax) {
      name = name.substr(0, at);
      break;
    }
  }
  return name.empty() ? kUnnamedSender : std::string(name);
}
