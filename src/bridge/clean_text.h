#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The rest of CleanText (below), for a text whose bytes before `pos` are
// printable ASCII.
std::string_view CleanTextFrom(std::string_view text, std::size_t pos, std::string& scratch);

// Texts as the bridge passes them on to Tolm, the unsaved-contacts file and
// the screen: each invalid UTF-8 sequence replaced by U+FFFD and every run of
// control characters (C0, DEL, C1; zero bytes among them) made one space. A
// text that is clean already is returned as it is, with no copy; any other is
// cleaned into `scratch`, and the view points there. Inline, since every
// Status's texts come this way, printable ASCII almost always.
inline std::string_view CleanText(std::string_view text, std::string& scratch) {
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    // Printable ASCII is 0x20 to 0x7E: one unsigned compare.
    if (static_cast<unsigned char>(text[pos] - 0x20) >= 0x5F) return CleanTextFrom(text, pos, scratch);
  }
  return text;
}

// The sending program as the operator is told of it ("WSJT-X closed at
// ..."): its id cleaned, at most kSenderNameMax whole characters of it, and
// "JTDX" for an empty one.
inline constexpr std::size_t kSenderNameMax = 12;
inline constexpr char kUnnamedSender[] = "JTDX";
std::string SenderName(std::string_view id);
