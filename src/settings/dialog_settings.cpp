#include "settings/dialog_settings.h"

#include <optional>

#include "settings/settings_file.h"

namespace {

int ReadOr(const char* key, int fallback) {
  const int value = ReadSetting(key);
  return value == 0 ? fallback : value;
}

// The stored port; none when it is one no endpoint can have (0 among them).
std::optional<int> StoredPort() {
  const int port = ReadSetting(kUdpPortKey);
  if (port < kMinUdpPort || port > kMaxUdpPort) return std::nullopt;
  return port;
}

// Reads a dialog's position into the cache; each coordinate falls back on
// its own.
WindowPosition LoadPosition(WindowPosition& cache, const PositionKeys& keys, WindowPosition fallback) {
  cache = {ReadOr(keys.X, fallback.X), ReadOr(keys.Y, fallback.Y)};
  return cache;
}

}  // namespace

MainDialogSettings LoadMainDialogSettings(WindowPosition& cache) {
  CreateSettingsDirectory();
  MainDialogSettings settings;
  settings.FileUnreadable = SettingsFileUnreadable();
  settings.Position = LoadPosition(cache, kMainDialogPositionKeys, kMainDialogFallbackPosition);
  settings.Port = StoredPort().value_or(kFallbackUdpPort);
  settings.UdpGroup = ReadTextSetting(kUdpGroupKey);
  return settings;
}

SetupDialogSettings LoadSetupDialogSettings(WindowPosition& cache) {
  SetupDialogSettings settings;
  settings.Position = LoadPosition(cache, kSetupDialogPositionKeys, kSetupDialogFallbackPosition);
  const auto stored = StoredPort();
  settings.Port = stored.value_or(kFallbackUdpPort);
  return settings;
}

void SaveWindowPositionWhenMoved(WindowPosition& cache, WindowPosition current, const PositionKeys& keys) {
  // The cache takes the new value even when the write fails: trying again on
  // every pointer move could stall the dialog on a locked directory each
  // time, and a lost position is not worth a word to the operator.
  if (current.X != cache.X) {
    cache.X = current.X;
    (void)WriteSetting(keys.X, current.X);
  }
  if (current.Y != cache.Y) {
    cache.Y = current.Y;
    (void)WriteSetting(keys.Y, current.Y);
  }
}

bool SaveUdpPort(int port) { return WriteSetting(kUdpPortKey, port); }
