#pragma once
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "read_file.h"

// The settings file under the working directory, byte for byte.
inline std::filesystem::path SettingsFilePath() { return std::filesystem::path("Plugins") / "Tolm_JTDX.ini"; }

// Writes the file as a user's editor would. Its time stamp moves on by a
// second on every write: Wine rereads an INI file it has cached only when the
// file's time changed, and two writes can fall into one coarse tick.
inline void WriteSettingsFileText(const std::string& text) {
  static int writes = 0;
  std::filesystem::create_directory("Plugins");
  std::ofstream(SettingsFilePath(), std::ios::binary | std::ios::trunc) << text;
  std::filesystem::last_write_time(SettingsFilePath(),
                                   std::filesystem::file_time_type::clock::now() + std::chrono::seconds(++writes));
}

inline std::string SettingsFileText() { return ReadWholeFile(SettingsFilePath()); }
