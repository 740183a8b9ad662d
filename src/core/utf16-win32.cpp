#include "core/utf16-win32.h"

#include <windows.h>

#include <climits>

namespace {

// Windows takes lengths as int, and one UTF-16 unit may take three UTF-8
// bytes: a longer text converts in pieces of at most this many units or bytes.
constexpr std::size_t kMaxPiece = INT_MAX / 3;

bool ContinuesCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// A piece ends before a byte that starts a character, so no sequence is
// split. A byte more than three past the last such start continues nothing
// a character could hold, and converts the same alone.
std::size_t Utf8PieceLength(std::string_view text) {
  if (text.size() <= kMaxPiece) return text.size();
  for (std::size_t cut = kMaxPiece; cut + 3 >= kMaxPiece; --cut) {
    if (!ContinuesCharacter(text[cut])) return cut;
  }
  return kMaxPiece;
}

// A piece never ends between the two halves of a surrogate pair.
std::size_t Utf16PieceLength(std::wstring_view text) {
  if (text.size() <= kMaxPiece) return text.size();
  const wchar_t last = text[kMaxPiece - 1];
  return last >= 0xD800 && last <= 0xDBFF ? kMaxPiece - 1 : kMaxPiece;
}

}  // namespace

std::wstring Utf8ToUtf16(std::string_view text) {
  std::wstring wide;
  while (!text.empty()) {
    const std::size_t piece = Utf8PieceLength(text);
    const int length = static_cast<int>(piece);
    // Flags 0, not MB_ERR_INVALID_CHARS: bad bytes turn into U+FFFD.
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    const std::size_t done = wide.size();
    wide.resize(done + static_cast<std::size_t>(needed));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data() + done, needed);
    text.remove_prefix(piece);
  }
  return wide;
}

std::string Utf16ToUtf8(std::wstring_view text) {
  std::string narrow;
  while (!text.empty()) {
    const std::size_t piece = Utf16PieceLength(text);
    const int length = static_cast<int>(piece);
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    const std::size_t done = narrow.size();
    narrow.resize(done + static_cast<std::size_t>(needed));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, narrow.data() + done, needed, nullptr, nullptr);
    text.remove_prefix(piece);
  }
  return narrow;
}
