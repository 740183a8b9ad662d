#pragma once
#include <string>
#include <string_view>
#include <vector>

// UTF-8 texts measured and cut in terminal width. Every character counts as
// one column: the dialogs' texts and the bridge's fields (calls, grids,
// reports, Cyrillic labels) have no wide or combining characters.

int Utf8Columns(std::string_view text);

// The UTF-8 bytes of one character (a typed key), as the bridge's texts hold
// them.
std::string Utf8Of(char32_t code);

// The first `width` characters, or the whole text when it is shorter.
std::string Utf8Head(std::string_view text, int width);

// The last `width` characters, or the whole text when it is shorter.
std::string Utf8Tail(std::string_view text, int width);

// Removes the last character; nothing when the text is empty.
void Utf8PopBack(std::string& text);

// Lines of at most `width` characters, broken at blanks where there are any
// and inside words where there are not; each LF starts a new line.
std::vector<std::string> WrapUtf8(std::string_view text, int width);
