#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings_file_text.h"
#include "temp_dir.h"

// A fresh working directory with an empty "Plugins" directory, and byte-exact
// access to the settings file in it.
class SettingsDirTest : public ::testing::Test {
 protected:
  SettingsDirTest() { std::filesystem::create_directory("Plugins"); }

  static std::filesystem::path SettingsPath() { return SettingsFilePath(); }
  static void WriteFile(const std::string& text) { WriteSettingsFileText(text); }
  static std::string FileText() { return SettingsFileText(); }

 private:
  TempDir dir_;
  ScopedWorkingDir cwd_{dir_.Path()};
};
