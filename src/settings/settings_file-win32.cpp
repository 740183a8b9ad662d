// The settings file through the Windows private-profile functions. A path
// with a directory part is taken relative to the working directory (a bare
// file name would send them to the Windows directory instead).
#include <windows.h>

#include <string>

#include "settings/settings_file.h"
#include "settings/setting_keys.h"
#include "settings/setting_value.h"

namespace {
const std::string kSettingsPath = std::string(kSettingsDirectory) + "\\" + kSettingsFileName;
}

int ReadSetting(const char* key) {
  char buffer[kSettingReadCapacity] = {};
  GetPrivateProfileStringA(kSettingsSection, key, "", buffer, sizeof buffer, kSettingsPath.c_str());
  return ParseSettingValue(buffer);
}

bool WriteSetting(const char* key, int value) {
  const auto text = FormatSettingValue(value);
  return WritePrivateProfileStringA(kSettingsSection, key, text.c_str(), kSettingsPath.c_str()) != 0;
}

void CreateSettingsDirectory() { CreateDirectoryA(kSettingsDirectory, nullptr); }
