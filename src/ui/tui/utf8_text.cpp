#include "ui/tui/utf8_text.h"

namespace {

// Bytes 10xxxxxx continue a character; every other byte starts one.
bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

// Byte offset where character number `index` starts (the size past the end).
std::size_t OffsetOfCharacter(std::string_view text, int index) {
  int seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!StartsCharacter(text[i])) continue;
    if (seen == index) return i;
    ++seen;
  }
  return text.size();
}

}  // namespace

int Utf8Columns(std::string_view text) {
  int count = 0;
  for (const char byte : text) count += StartsCharacter(byte) ? 1 : 0;
  return count;
}

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string Utf8Head(std::string_view text, int width) {
  if (width <= 0) return {};
  return std::string(text.substr(0, OffsetOfCharacter(text, width)));
}

std::string Utf8Tail(std::string_view text, int width) {
  const int total = Utf8Columns(text);
  if (width >= total) return std::string(text);
  if (width <= 0) return {};
  return std::string(text.substr(OffsetOfCharacter(text, total - width)));
}

void Utf8PopBack(std::string& text) {
  while (!text.empty()) {
    const bool first = StartsCharacter(text.back());
    text.pop_back();
    if (first) return;
  }
}

std::vector<std::string> WrapUtf8(std::string_view text, int width) {
  std::vector<std::string> lines;
  if (width < 1) width = 1;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view paragraph = text.substr(start, end - start);
    do {
      if (Utf8Columns(paragraph) <= width) {
        lines.emplace_back(paragraph);
        break;
      }
      const std::size_t limit = OffsetOfCharacter(paragraph, width);
      std::size_t cut = paragraph.rfind(' ', limit);
      const bool at_blank = cut != std::string_view::npos && cut > 0;
      if (!at_blank) cut = limit;
      lines.emplace_back(paragraph.substr(0, cut));
      paragraph.remove_prefix(at_blank ? cut + 1 : cut);
    } while (!paragraph.empty());
    start = end + 1;
  }
  return lines;
}
