#include "settings/ini_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHandEdited =
    "; Relvan settings, edited by hand\n"
    "[Other]\n"
    "UDP_Port=1111\n"
    "\n"
    "  [ settings ]  \n"
    "  udp_port = 2240  \n"
    "; old position\n"
    "tolm_jtdx_x=5\n"
    "TOLM_JTDX_X=6\n"
    "Setup_x=\"300\"\n"
    "Setup_y=  \n"
    "\n"
    "[Later]\n"
    "tolm_jtdx_y=7\n";

}  // namespace

TEST(IniValue, ReadsHandEditedFilesAsTheWindowsFunctionsDo) {
  EXPECT_EQ(IniValue(kHandEdited, "Settings", "UDP_Port"), "2240");
  EXPECT_EQ(IniValue(kHandEdited, "Settings", "tolm_jtdx_x"), "5");
  EXPECT_EQ(IniValue(kHandEdited, "Settings", "Setup_x"), "300");
  EXPECT_EQ(IniValue(kHandEdited, "Settings", "Setup_y"), "");
  EXPECT_EQ(IniValue(kHandEdited, "Settings", "tolm_jtdx_y"), "");  // only in [Later]
  EXPECT_EQ(IniValue(kHandEdited, "Settings", "; old position"), "");
  EXPECT_EQ(IniValue(kHandEdited, "Missing", "UDP_Port"), "");
  EXPECT_EQ(IniValue("", "Settings", "UDP_Port"), "");
}

TEST(IniValue, ReadsCrlfFilesAByteOrderMarkAndRepeatedSections) {
  const std::string text = "\xEF\xBB\xBF[Settings]\r\nUDP_Port=2238abc\r\n[Other]\r\n[Settings]\r\nSetup_x=-1920\r\n";
  EXPECT_EQ(IniValue(text, "Settings", "UDP_Port"), "2238abc");
  EXPECT_EQ(IniValue(text, "Settings", "Setup_x"), "-1920");
}

TEST(WithIniValue, ReplacesTheValueAndKeepsEveryOtherByte) {
  std::string expected = kHandEdited;
  expected.replace(expected.find("  udp_port = 2240  "), 19, "  udp_port = 2237");
  EXPECT_EQ(WithIniValue(kHandEdited, "Settings", "UDP_Port", "2237"), expected);

  expected = kHandEdited;
  expected.replace(expected.find("Setup_y=  "), 10, "Setup_y=10");
  EXPECT_EQ(WithIniValue(kHandEdited, "Settings", "Setup_y", "10"), expected);
}

TEST(WithIniValue, AddsAMissingKeyToTheExistingSection) {
  std::string expected = kHandEdited;
  expected.insert(expected.find("\n[Later]"), "tolm_jtdx_y=-1920\n");
  const auto written = WithIniValue(kHandEdited, "Settings", "tolm_jtdx_y", "-1920");
  EXPECT_EQ(written, expected);
  EXPECT_EQ(IniValue(written, "Settings", "tolm_jtdx_y"), "-1920");
  EXPECT_EQ(IniValue(written, "Later", "tolm_jtdx_y"), "7");
}

TEST(WithIniValue, AddsAfterTheHeaderOfAnEmptySectionWithoutFinalNewline) {
  EXPECT_EQ(WithIniValue("[Settings]", "Settings", "Setup_x", "200"), "[Settings]\nSetup_x=200\n");
  EXPECT_EQ(WithIniValue("[Settings]\r\n; c\r\n[B]\r\n", "Settings", "Setup_x", "1"),
            "[Settings]\r\nSetup_x=1\r\n; c\r\n[B]\r\n");
}

TEST(WithIniValue, CreatesTheSectionWhenMissingInTheFilesLineEnding) {
  EXPECT_EQ(WithIniValue("", "Settings", "UDP_Port", "2237"), "[Settings]\nUDP_Port=2237\n");
  EXPECT_EQ(WithIniValue("[Other]\r\na=1", "Settings", "UDP_Port", "2237"),
            "[Other]\r\na=1\r\n[Settings]\r\nUDP_Port=2237\r\n");
}

TEST(WithIniValue, WritesWhereTheReadFindsTheKey) {
  // The key lives in the second [Settings]; the write must change that one.
  const std::string text = "[Settings]\na=1\n[Settings]\nUDP_Port=2240\n";
  const auto written = WithIniValue(text, "Settings", "UDP_Port", "2241");
  EXPECT_EQ(written, "[Settings]\na=1\n[Settings]\nUDP_Port=2241\n");
  EXPECT_EQ(IniValue(WithIniValue("\xEF\xBB\xBFx=1\n", "Settings", "b", "2"), "Settings", "b"), "2");
}
