#include "core/utf16-win32.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf16Conversion, RoundTripsAndReplacesWhatIsNotText) {
  EXPECT_EQ(Utf8ToUtf16(""), L"");
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("Алексей 𝄞")), "Алексей 𝄞");
  EXPECT_EQ(Utf8ToUtf16(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
  EXPECT_EQ(Utf8ToUtf16("a\xff"
                        "b\xc3"),
            L"a\uFFFDb\uFFFD");                                              // bad and cut-off sequences
  EXPECT_EQ(Utf16ToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}

}  // namespace
