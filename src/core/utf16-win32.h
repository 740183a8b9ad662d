#pragma once
#include <string>
#include <string_view>

// The bridge keeps its texts as UTF-8 byte strings (as JTDX sent them); COM
// speaks UTF-16. These convert at that edge only. Invalid UTF-8 sequences
// become U+FFFD and unpaired surrogates become U+FFFD's UTF-8 bytes, so no
// text is ever refused or cut short.
std::wstring Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::wstring_view text);
