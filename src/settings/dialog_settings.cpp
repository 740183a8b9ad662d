#include "settings/dialog_settings.h"

namespace {

int ReadOr(const SettingsFolder::Values& values, const char* key, int fallback) {
  const int value = values.Integer(key);
  return value == 0 ? fallback : value;
}

// The stored port; the fallback when it is one no endpoint can have (0
// among them).
int StoredPort(const SettingsFolder::Values& values) {
  const int port = values.Integer(kUdpPortKey);
  return port < kMinUdpPort || port > kMaxUdpPort ? kFallbackUdpPort : port;
}

// Reads a dialog's position into the cache; each coordinate falls back on
// its own.
WindowPosition LoadPosition(const SettingsFolder::Values& values, WindowPosition& cache, const PositionKeys& keys,
                            WindowPosition fallback) {
  cache = {ReadOr(values, keys.X, fallback.X), ReadOr(values, keys.Y, fallback.Y)};
  return cache;
}

}  // namespace

MainDialogSettings LoadMainDialogSettings(const SettingsFolder& folder, WindowPosition& cache) {
  folder.Create();
  const SettingsFolder::Values values = folder.Read();
  MainDialogSettings settings;
  settings.FileUnreadable = values.Unreadable();
  settings.Position = LoadPosition(values, cache, kMainDialogPositionKeys, kMainDialogFallbackPosition);
  settings.Port = StoredPort(values);
  settings.UdpGroup = values.Text(kUdpGroupKey);
  return settings;
}

SetupDialogSettings LoadSetupDialogSettings(const SettingsFolder& folder, WindowPosition& cache) {
  const SettingsFolder::Values values = folder.Read();
  SetupDialogSettings settings;
  settings.Position = LoadPosition(values, cache, kSetupDialogPositionKeys, kSetupDialogFallbackPosition);
  settings.Port = StoredPort(values);
  return settings;
}

void SaveWindowPositionWhenMoved(const SettingsFolder& folder, WindowPosition& cache, WindowPosition current,
                                 const PositionKeys& keys) {
  // The cache takes the new value even when the write fails: trying again on
  // every pointer move could stall the dialog on a locked directory each
  // time, and a lost position is not worth a word to the operator.
  if (current.X != cache.X) {
    cache.X = current.X;
    (void)folder.Write(keys.X, current.X);
  }
  if (current.Y != cache.Y) {
    cache.Y = current.Y;
    (void)folder.Write(keys.Y, current.Y);
  }
}

bool SaveUdpPort(const SettingsFolder& folder, int port) { return folder.Write(kUdpPortKey, port); }
