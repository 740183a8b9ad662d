// The settings file through our own INI reader and writer, with the meaning
// the private-profile functions give it on Windows.
#include <string>
#include <utility>

#include "core/file_path.h"
#include "settings/ini_text.h"
#include "settings/setting_keys.h"
#include "settings/setting_value.h"
#include "settings/settings_file.h"
#include "settings/text_file.h"

SettingsFolder::Values::Values(std::filesystem::path file) : file_(std::move(file)) {
  std::string reason;
  unreadable_ = ReadWholeFile(file_, text_, reason, kMaxSettingsFileBytes) == FileRead::Failed;
}

int SettingsFolder::Values::Integer(const char* key) const {
  return ParseSettingValue(IniValue(text_, kSettingsSection, key));
}

std::string SettingsFolder::Values::Text(const char* key) const {
  return SettingText(IniValue(text_, kSettingsSection, key));
}

bool SettingsFolder::Values::Unreadable() const { return unreadable_; }

bool SettingsFolder::Write(const char* key, int value) const {
  return UpdateTextFile(SettingsFilePath().string(),
                        [&](FileRead status, const std::string& text) -> std::optional<std::string> {
                          // A file that exists but cannot be read is not
                          // replaced by one holding a single key.
                          if (status == FileRead::Failed) return std::nullopt;
                          return WithIniValue(text, kSettingsSection, key, FormatSettingValue(value));
                        });
}
