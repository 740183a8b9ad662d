// The settings file through the Windows private-profile functions, one key
// per call, by the file's wide path (the folder may hold any character).
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "core/utf16-win32.h"
#include "settings/setting_keys.h"
#include "settings/setting_value.h"
#include "settings/settings_file.h"

namespace {

// Whether the private-profile functions may have the file: nothing there
// yet, or a file of a size the settings file can have. They would read a
// huge one whole and write over anything.
bool SettingsFileUsable(const std::filesystem::path& file) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &info)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  if ((info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) return false;
  const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  return size <= kMaxSettingsFileBytes;
}

// The value stored under `key` as the private-profile functions read it: at
// most kSettingReadCapacity - 1 characters, empty when there is none.
std::string StoredValue(const std::filesystem::path& file, const char* key) {
  if (!SettingsFileUsable(file)) return {};
  wchar_t buffer[kSettingReadCapacity] = {};
  GetPrivateProfileStringW(Utf8ToUtf16(kSettingsSection).c_str(), Utf8ToUtf16(key).c_str(), L"", buffer,
                           kSettingReadCapacity, file.c_str());
  return Utf16ToUtf8(buffer);
}

}  // namespace

SettingsFolder::Values::Values(std::filesystem::path file) : file_(std::move(file)) {}

int SettingsFolder::Values::Integer(const char* key) const { return ParseSettingValue(StoredValue(file_, key)); }

std::string SettingsFolder::Values::Text(const char* key) const { return SettingText(StoredValue(file_, key)); }

bool SettingsFolder::Values::Unreadable() const {
  if (!SettingsFileUsable(file_)) return true;
  const HANDLE file =
      CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool SettingsFolder::Write(const char* key, int value) const {
  const std::filesystem::path file = SettingsFilePath();
  if (!SettingsFileUsable(file)) return false;
  return WritePrivateProfileStringW(Utf8ToUtf16(kSettingsSection).c_str(), Utf8ToUtf16(key).c_str(),
                                    Utf8ToUtf16(FormatSettingValue(value)).c_str(), file.c_str()) != 0;
}
