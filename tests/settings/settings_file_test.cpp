// The settings file of a folder of the test's own: natively through our INI
// code, on Windows through the private-profile functions.
#include "settings/settings_file.h"

#include <climits>
#include <filesystem>
#include <string>

#include "core/file_path.h"
#include "settings/setting_keys.h"
#include "settings_file_text.h"

using SettingsFileTest = SettingsFolderTest;

TEST_F(SettingsFileTest, MissingFileSectionOrKeyReadsZero) {
  EXPECT_EQ(ReadSetting(kUdpPortKey), 0);
  WriteSettingsFile("[Other]\nUDP_Port=2240\n");
  EXPECT_EQ(ReadSetting(kUdpPortKey), 0);
  WriteSettingsFile("[Settings]\nSetup_x=300\n");
  EXPECT_EQ(ReadSetting(kUdpPortKey), 0);
  EXPECT_EQ(ReadSetting(kSetupDialogXKey), 300);
}

TEST_F(SettingsFileTest, ValuesAreConvertedFromTheirNumericStart) {
  WriteSettingsFile("[Settings]\nUDP_Port=2238abc\nSetup_x=abc\nSetup_y=" + std::string(98, '0') + "12" +
                    std::string(50, '3') + "\n");
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2238);
  EXPECT_EQ(ReadSetting(kSetupDialogXKey), 0);
  EXPECT_EQ(ReadSetting(kSetupDialogYKey), 12);  // a 150-character value counts with its first 100
}

TEST_F(SettingsFileTest, WrittenValuesReadBackInFull) {
  for (const int value : {-1920, 10240, 0, 1, INT_MIN, INT_MAX}) {
    ASSERT_TRUE(settings.Write(kMainDialogXKey, value));
    EXPECT_EQ(ReadSetting(kMainDialogXKey), value);
  }
  ASSERT_TRUE(settings.Write(kMainDialogYKey, -1080));
  EXPECT_EQ(ReadSetting(kMainDialogXKey), INT_MAX);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), -1080);
}

TEST_F(SettingsFileTest, WriteKeepsTheRestOfAHandEditedFile) {
  WriteSettingsFile("; kept\r\n[Other]\r\nUDP_Port=1111\r\n[Settings]\r\nUDP_Port=2240\r\nSetup_x=300\r\n");
  ASSERT_TRUE(settings.Write(kUdpPortKey, 2250));
  ASSERT_TRUE(settings.Write(kSetupDialogYKey, 20));
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2250);
  EXPECT_EQ(ReadSetting(kSetupDialogXKey), 300);
  EXPECT_EQ(ReadSetting(kSetupDialogYKey), 20);
  const auto text = SettingsFileText();
  EXPECT_NE(text.find("; kept"), std::string::npos);
  EXPECT_NE(text.find("UDP_Port=1111"), std::string::npos);
  // Both keys went into the one existing section.
  EXPECT_EQ(text.find("[Settings]"), text.rfind("[Settings]"));
}

TEST_F(SettingsFileTest, WriteWithoutTheDirectoryIsIgnored) {
  std::filesystem::remove(settings.Path());
  EXPECT_FALSE(settings.Write(kUdpPortKey, 2240));
  EXPECT_FALSE(std::filesystem::exists(settings.Path()));
  EXPECT_EQ(ReadSetting(kUdpPortKey), 0);

  settings.Create();
  settings.Create();  // already there: no harm
  EXPECT_TRUE(settings.Write(kUdpPortKey, 2240));
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2240);
}

// A folder in two scripts, which no single ANSI code page of Windows spells,
// as an operator's user folder may be.
TEST_F(SettingsFileTest, FolderInAnyCharactersIsCreatedWrittenAndRead) {
  std::filesystem::create_directory(dir.Path() / PathFromUtf8("Журнал Ελλάς"));
  const SettingsFolder named(dir.Path() / PathFromUtf8("Журнал Ελλάς") / "Plugins");
  EXPECT_TRUE(named.Writable());  // the check makes the folder
  ASSERT_TRUE(named.Write(kUdpPortKey, 2250));
  EXPECT_EQ(named.Read().Integer(kUdpPortKey), 2250);
  EXPECT_FALSE(named.Read().Unreadable());
}

TEST_F(SettingsFileTest, FileOverTheLimitReadsAsNoneAndIsNotWrittenOver) {
  const std::string stored = "[Settings]\nUDP_Port=2240\n";
  const std::string at_limit = stored + ";" + std::string(kMaxSettingsFileBytes - stored.size() - 2, 'x') + "\n";
  WriteSettingsFile(at_limit);
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2240);

  WriteSettingsFile(at_limit + "x");
  EXPECT_EQ(ReadSetting(kUdpPortKey), 0);
  EXPECT_FALSE(settings.Write(kUdpPortKey, 2250));
  EXPECT_EQ(SettingsFileText(), at_limit + "x");
}

TEST_F(SettingsFileTest, ProgramsFolderIsPluginsUnderTheWorkingDirectoryWithTheUnsavedFileInIt) {
  const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  EXPECT_EQ(SettingsFolder::InWorkingDirectory().UnsavedContactsPath(),
            std::filesystem::current_path().string() + separator + "Plugins" + separator + "Tolm_JTDX_unsaved.adi");
}
