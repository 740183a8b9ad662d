#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// How a setting's integer is stored as text.

// A read takes at most this many bytes, the terminating zero included: a
// longer value counts only with its first 100 characters.
inline constexpr std::size_t kSettingReadCapacity = 101;

// The integer at the start of a text, read as the C library's atoi reads it:
// white space skipped, an optional sign, then decimal digits up to the first
// other character. A text that does not begin with a number gives 0. Numbers
// beyond the 32-bit range saturate at INT_MIN / INT_MAX instead of wrapping,
// so a huge coordinate never turns into a small one of the other sign.
int ParseLeadingInteger(std::string_view text);

// A stored value as a read sees it: cut to its first 100 characters, then
// converted. 0 stands for "absent".
int ParseSettingValue(std::string_view text);

// A stored text as a read sees it: cut to its first 100 characters, white
// space at either end left out.
std::string SettingText(std::string_view text);

// The text written for a value: signed decimal, as "%i" formats it.
std::string FormatSettingValue(int value);
