#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "read_file.h"
#include "settings/settings_file.h"
#include "temp_dir.h"

// A settings folder of the test's own, "Plugins" in a fresh directory, and
// its settings file byte for byte.
class SettingsFolderTest : public ::testing::Test {
 protected:
  SettingsFolderTest() { settings.Create(); }

  // Writes the file as a user's editor would. Its time stamp moves on by a
  // second on every write: Wine rereads an INI file it has cached only when
  // the file's time changed, and two writes can fall into one coarse tick.
  void WriteSettingsFile(const std::string& text) const {
    static int writes = 0;
    std::filesystem::create_directory(settings.Path());
    std::ofstream(settings.SettingsFilePath(), std::ios::binary | std::ios::trunc) << text;
    std::filesystem::last_write_time(settings.SettingsFilePath(),
                                     std::filesystem::file_time_type::clock::now() + std::chrono::seconds(++writes));
  }
  std::string SettingsFileText() const { return FileBytes(settings.SettingsFilePath()); }
  int ReadSetting(const char* key) const { return settings.Read().Integer(key); }

  TempDir dir;
  const SettingsFolder settings{dir.Path() / "Plugins"};
};
