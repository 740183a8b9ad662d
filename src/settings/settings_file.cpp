// What both platforms' settings files share.
#include "settings/settings_file.h"

#include <system_error>
#include <utility>

#include "core/file_path.h"
#include "settings/setting_keys.h"

SettingsFolder::SettingsFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

SettingsFolder SettingsFolder::InWorkingDirectory() {
  std::error_code error;
  auto directory = std::filesystem::current_path(error);
  if (error) directory.clear();
  return SettingsFolder(directory / kSettingsDirectory);
}

std::filesystem::path SettingsFolder::SettingsFilePath() const { return folder_ / kSettingsFileName; }

SettingsFolder::Values SettingsFolder::Read() const { return Values(SettingsFilePath()); }

void SettingsFolder::Create() const {
  std::error_code error;
  std::filesystem::create_directory(folder_, error);
}

bool SettingsFolder::Writable() const {
  Create();
  return FolderTakesNewFile(folder_);
}

std::filesystem::path SettingsFolder::UnsavedContactsPath() const {
  return (folder_ / kUnsavedContactsFileName).make_preferred();
}
