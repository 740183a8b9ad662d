#pragma once
#include <string>
#include <string_view>

// The bridge keeps its texts as UTF-8 byte strings (as JTDX sent them);
// Windows speaks UTF-16, in COM calls and in window texts. These convert at
// those edges only, and cannot fail: an invalid UTF-8 sequence becomes U+FFFD,
// an unpaired surrogate becomes U+FFFD's UTF-8 bytes, and a text of any
// length converts whole, so no text is ever refused or cut short.
std::wstring Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::wstring_view text);
