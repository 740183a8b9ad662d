#include "settings/setting_value.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(ParseLeadingInteger, ReadsTheNumberAtTheStartLikeAtoi) {
  EXPECT_EQ(ParseLeadingInteger("2238"), 2238);
  EXPECT_EQ(ParseLeadingInteger("2238abc"), 2238);
  EXPECT_EQ(ParseLeadingInteger(" \t\r\n-1920"), -1920);
  EXPECT_EQ(ParseLeadingInteger("+42"), 42);
  EXPECT_EQ(ParseLeadingInteger("12 34"), 12);
  EXPECT_EQ(ParseLeadingInteger("007"), 7);
  EXPECT_EQ(ParseLeadingInteger("0x10"), 0);
  // Text without a number gives 0.
  EXPECT_EQ(ParseLeadingInteger(""), 0);
  EXPECT_EQ(ParseLeadingInteger("abc"), 0);
  EXPECT_EQ(ParseLeadingInteger("-"), 0);
  EXPECT_EQ(ParseLeadingInteger("- 5"), 0);
  EXPECT_EQ(ParseLeadingInteger("+-5"), 0);
}

TEST(ParseLeadingInteger, SaturatesOutsideTheIntRange) {
  EXPECT_EQ(ParseLeadingInteger("2147483647"), INT_MAX);
  EXPECT_EQ(ParseLeadingInteger("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseLeadingInteger("2147483648"), INT_MAX);
  EXPECT_EQ(ParseLeadingInteger("-2147483649"), INT_MIN);
  EXPECT_EQ(ParseLeadingInteger(std::string(60, '9')), INT_MAX);
  EXPECT_EQ(ParseLeadingInteger("-" + std::string(60, '9')), INT_MIN);
}

TEST(ParseSettingValue, CountsOnlyTheFirstHundredCharacters) {
  // 150 characters whose first 100 end in "12".
  EXPECT_EQ(ParseSettingValue(std::string(98, '0') + "12" + std::string(50, '3')), 12);
  EXPECT_EQ(ParseSettingValue(std::string(99, '0') + "7"), 7);
}
