// What both platforms' settings files share.
#include "settings/settings_file.h"

#include <filesystem>
#include <system_error>

#include "settings/setting_keys.h"

std::string UnsavedContactsPath() {
  std::error_code error;
  auto directory = std::filesystem::current_path(error);
  if (error) directory.clear();
  return (directory / kSettingsDirectory / kUnsavedContactsFileName).make_preferred().string();
}
