// What both platforms' settings files share.
#include "settings/settings_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/file_path.h"
#include "settings/setting_keys.h"

std::filesystem::path UnsavedContactsPath() {
  std::error_code error;
  auto directory = std::filesystem::current_path(error);
  if (error) directory.clear();
  return (directory / kSettingsDirectory / kUnsavedContactsFileName).make_preferred();
}

bool SettingsFolderWritable() {
  CreateSettingsDirectory();
  const auto probe = std::filesystem::path(kSettingsDirectory) / ".relvan-write-check";
  std::FILE* file = OpenFile(probe, "wb");
  if (file == nullptr) return false;
  const bool closed = std::fclose(file) == 0;
  std::error_code error;
  std::filesystem::remove(probe, error);
  return closed;
}
