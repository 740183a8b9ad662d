#include "bridge/clean_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CleanText, MakesEachRunOfControlCharactersOneSpaceAndPutsU_FFFDForEachInvalidPart) {
  std::string scratch;
  EXPECT_EQ(CleanText(std::string_view("AB\0C\tD\x7F\xC2\x85", 9), scratch), "AB C D ");
  EXPECT_EQ(CleanText("tnx\t73\r\nbest wishes", scratch), "tnx 73 best wishes");
  // Each maximal invalid part is one U+FFFD: lone bytes, an overlong, a cut
  // sequence, a surrogate, a sequence cut by the text's end.
  EXPECT_EQ(CleanText("\xFF\xFEK1\xC0\x80\xE2\x82\xED\xA0\x80\xF0\x9F\x98", scratch),
            "\uFFFD\uFFFDK1\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
  // A clean text is the text itself, not a copy.
  const std::string_view name = "Алексей";
  EXPECT_EQ(CleanText(name, scratch).data(), name.data());
}

TEST(SenderName, IsTheCleanIdCutToTwelveWholeCharactersOrJtdx) {
  EXPECT_EQ(SenderName("WSJT-X"), "WSJT-X");
  EXPECT_EQ(SenderName("Ж\tЖЖЖЖЖЖЖЖЖЖЖЖЖ"), "Ж ЖЖЖЖЖЖЖЖЖЖ");
  EXPECT_EQ(SenderName(""), "JTDX");
}

}  // namespace
