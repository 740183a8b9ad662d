// The Linux writer never loses the file: it replaces it whole or not at all.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "settings/setting_keys.h"
#include "settings/settings_file.h"
#include "settings/text_file.h"
#include "settings_test_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string kOld = "; mine\n[Settings]\nUDP_Port=2240\n";

bool RunningAsRoot() { return ::geteuid() == 0; }

}  // namespace

using TextFileTest = SettingsDirTest;

TEST_F(TextFileTest, FailedWriteLeavesTheOldFileIntact) {
  WriteFile(kOld);
  // Something in the way of the temporary file makes the write fail, even
  // for root.
  fs::create_directory("Plugins/Tolm_JTDX.ini.tmp");
  WriteSetting(kUdpPortKey, 2250);
  EXPECT_EQ(FileText(), kOld);
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2240);
  EXPECT_FALSE(ReplaceTextFile(SettingsPath().string(), "x"));
}

TEST_F(TextFileTest, ReadOnlyDirectoryOrFileIsLeftAlone) {
  if (RunningAsRoot()) GTEST_SKIP() << "permissions do not stop root from writing";
  WriteFile(kOld);
  fs::permissions("Plugins", fs::perms::owner_write, fs::perm_options::remove);
  WriteSetting(kUdpPortKey, 2250);
  fs::permissions("Plugins", fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(FileText(), kOld);

  fs::permissions(SettingsPath(), fs::perms::owner_read);
  WriteSetting(kUdpPortKey, 2250);
  EXPECT_EQ(FileText(), kOld);

  // A file we cannot read is not replaced by one holding a single key.
  fs::permissions(SettingsPath(), fs::perms::owner_write);
  WriteSetting(kUdpPortKey, 2250);
  fs::permissions(SettingsPath(), fs::perms::owner_all);
  EXPECT_EQ(FileText(), kOld);
}

TEST_F(TextFileTest, ReplacementKeepsPermissionsAndSymbolicLinksAndLeavesNoTemporary) {
  fs::create_directory("real");
  {
    std::ofstream("real/Tolm_JTDX.ini", std::ios::binary) << kOld;
  }
  fs::permissions("real/Tolm_JTDX.ini", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(fs::absolute("real/Tolm_JTDX.ini"), SettingsPath());

  WriteSetting(kUdpPortKey, 2250);
  EXPECT_TRUE(fs::is_symlink(SettingsPath()));
  EXPECT_EQ(FileText(), "; mine\n[Settings]\nUDP_Port=2250\n");
  EXPECT_EQ(fs::status("real/Tolm_JTDX.ini").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::distance(fs::directory_iterator("real"), fs::directory_iterator()), 1);  // no temporary left
}

TEST_F(TextFileTest, ReadTellsAMissingFileFromAnUnreadableOne) {
  EXPECT_EQ(ReadTextFile("Plugins/none.ini").Status, FileReadStatus::Missing);
  fs::create_directory(SettingsPath());  // exists, but is no file
  EXPECT_EQ(ReadTextFile(SettingsPath().string()).Status, FileReadStatus::Failed);
  WriteSetting(kUdpPortKey, 2250);
  EXPECT_TRUE(fs::is_directory(SettingsPath()));
}
