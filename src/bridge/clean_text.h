#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Whether one of a word's bytes has its top bit set, is below 0x20, or is
// 0x7F: all of them tested together.
template <typename Word>
bool HoldsNonPrintable(const char* bytes) {
  constexpr Word kOnes = static_cast<Word>(0x0101010101010101ull);
  constexpr Word kTops = static_cast<Word>(0x8080808080808080ull);
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  const Word del = word ^ static_cast<Word>(kOnes * 0x7F);
  return ((word | ((word - kOnes * 0x20) & ~word) | ((del - kOnes) & ~del)) & kTops) != 0;
}

// Whether every byte is printable ASCII: what JTDX sends almost always.
// Eight bytes at a time (the last eight overlapping the word before), and a
// short text as two overlapping halves.
inline bool IsPrintableAscii(std::string_view text) {
  const char* bytes = text.data();
  const std::size_t size = text.size();
  if (size >= 8) {
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
      if (HoldsNonPrintable<std::uint64_t>(bytes + i)) return false;
    }
    return !HoldsNonPrintable<std::uint64_t>(bytes + size - 8);
  }
  if (size >= 4) return !HoldsNonPrintable<std::uint32_t>(bytes) && !HoldsNonPrintable<std::uint32_t>(bytes + size - 4);
  for (std::size_t i = 0; i < size; ++i) {
    if (static_cast<unsigned char>(bytes[i] - 0x20) >= 0x5F) return false;
  }
  return true;
}

// The rest of CleanText, for a text that holds anything else.
std::string_view CleanNonAsciiText(std::string_view text, std::string& scratch);

// Texts as the bridge passes them on to Tolm, the unsaved-contacts file and
// the screen: each invalid UTF-8 sequence replaced by U+FFFD and every control
// character (C0, DEL, C1; zero bytes among them) dropped. A text that is
// clean already is returned as it is, with no copy; any other is cleaned into
// `scratch`, and the view points there.
inline std::string_view CleanText(std::string_view text, std::string& scratch) {
  return IsPrintableAscii(text) ? text : CleanNonAsciiText(text, scratch);
}

// The sending program as the operator is told of it ("WSJT-X closed at
// ..."): its id cleaned, at most kSenderNameMax whole characters of it, and
// "JTDX" for an empty one.
inline constexpr std::size_t kSenderNameMax = 12;
std::string SenderName(std::string_view id);
