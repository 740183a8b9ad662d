// The settings file through the Windows private-profile functions. A path
// with a directory part is taken relative to the working directory (a bare
// file name would send them to the Windows directory instead).
#include <windows.h>

#include <cstdint>
#include <string>

#include "settings/settings_file.h"
#include "settings/setting_keys.h"
#include "settings/setting_value.h"

namespace {

const std::string kSettingsPath = std::string(kSettingsDirectory) + "\\" + kSettingsFileName;

// Whether the private-profile functions may have the file: nothing there
// yet, or a file of a size the settings file can have. They would read a
// huge one whole and write over anything.
bool SettingsFileUsable() {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!GetFileAttributesExA(kSettingsPath.c_str(), GetFileExInfoStandard, &info)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if ((info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) return false;
  const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  return size <= kMaxSettingsFileBytes;
}

}  // namespace

int ReadSetting(const char* key) {
  if (!SettingsFileUsable()) return 0;
  char buffer[kSettingReadCapacity] = {};
  GetPrivateProfileStringA(kSettingsSection, key, "", buffer, sizeof buffer, kSettingsPath.c_str());
  return ParseSettingValue(buffer);
}

std::string ReadTextSetting(const char* key) {
  if (!SettingsFileUsable()) return {};
  char buffer[kSettingReadCapacity] = {};
  GetPrivateProfileStringA(kSettingsSection, key, "", buffer, sizeof buffer, kSettingsPath.c_str());
  return SettingText(buffer);
}

bool SettingsFileUnreadable() {
  if (!SettingsFileUsable()) return true;
  const HANDLE file = CreateFileA(kSettingsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool WriteSetting(const char* key, int value) {
  if (!SettingsFileUsable()) return false;
  const auto text = FormatSettingValue(value);
  return WritePrivateProfileStringA(kSettingsSection, key, text.c_str(), kSettingsPath.c_str()) != 0;
}

void CreateSettingsDirectory() { CreateDirectoryA(kSettingsDirectory, nullptr); }
