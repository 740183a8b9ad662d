#pragma once
#include <string>
#include <string_view>

// Reading and editing the text of an INI file the way the Windows
// private-profile functions treat a hand-edited file:
// - section and key names match without regard to (ASCII) case, and white
//   space around names and values does not count;
// - a value enclosed in matching single or double quotes is read without them;
// - lines starting with ';' are comments, never keys;
// - the first occurrence of a key wins;
// - LF and CRLF line ends are both read, and a UTF-8 byte order mark at the
//   start is skipped.
// A section that appears more than once is searched in file order, as one
// section (a case the bridge's own writes never make).

// The value of `key` in `section`, or the empty text when the section or the
// key is missing.
std::string IniValue(std::string_view text, std::string_view section, std::string_view key);

// `text` with `key` in `section` set to `value`. The key's line keeps its name
// as spelt and the spacing before the value; a missing key is added after the
// last key of the section's first occurrence; a missing section is added at
// the end. Every other line, comment and section stays as it was, and added
// lines take the line end the file already uses (LF for a file without any).
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key, std::string_view value);
