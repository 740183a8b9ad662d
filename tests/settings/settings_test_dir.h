#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "temp_dir.h"

// A fresh working directory with an empty "Plugins" directory, and byte-exact
// access to the settings file in it.
class SettingsDirTest : public ::testing::Test {
 protected:
  SettingsDirTest() { std::filesystem::create_directory("Plugins"); }

  static std::filesystem::path SettingsPath() { return std::filesystem::path("Plugins") / "Tolm_JTDX.ini"; }

  static void WriteFile(const std::string& text) {
    std::ofstream(SettingsPath(), std::ios::binary | std::ios::trunc) << text;
  }

  static std::string FileText() {
    std::ifstream in(SettingsPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  TempDir dir_;
  ScopedWorkingDir cwd_{dir_.Path()};
};
