// The settings file through our own INI reader and writer, with the meaning
// the private-profile functions give it on Windows.
#include <sys/stat.h>

#include <string>

#include "settings/ini_text.h"
#include "settings/setting_keys.h"
#include "settings/setting_value.h"
#include "settings/settings_file.h"
#include "settings/text_file.h"

namespace {
const std::string kSettingsPath = std::string(kSettingsDirectory) + "/" + kSettingsFileName;
}

int ReadSetting(const char* key) {
  const auto file = ReadTextFile(kSettingsPath);
  return ParseSettingValue(IniValue(file.Text, kSettingsSection, key));
}

std::string ReadTextSetting(const char* key) {
  const auto file = ReadTextFile(kSettingsPath);
  return SettingText(IniValue(file.Text, kSettingsSection, key));
}

bool SettingsFileUnreadable() { return ReadTextFile(kSettingsPath).Status == FileReadStatus::Failed; }

bool WriteSetting(const char* key, int value) {
  return UpdateTextFile(kSettingsPath, [&](const FileContents& file) -> std::optional<std::string> {
    // A file that exists but cannot be read is not replaced by one holding a
    // single key.
    if (file.Status == FileReadStatus::Failed) return std::nullopt;
    return WithIniValue(file.Text, kSettingsSection, key, FormatSettingValue(value));
  });
}

void CreateSettingsDirectory() { ::mkdir(kSettingsDirectory, 0777); }
