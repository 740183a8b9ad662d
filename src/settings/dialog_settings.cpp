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
WindowPosition LoadPosition(BridgeState& state, const PositionKeys& keys, WindowPosition fallback) {
  state.WindowX = ReadOr(keys.X, fallback.X);
  state.WindowY = ReadOr(keys.Y, fallback.Y);
  return {state.WindowX, state.WindowY};
}

}  // namespace

WindowPosition LoadMainDialogSettings(BridgeState& state) {
  CreateSettingsDirectory();
  state.SettingsUnreadable = SettingsFileUnreadable();
  const auto position = LoadPosition(state, kMainDialogPositionKeys, kMainDialogFallbackPosition);
  state.UdpPort = StoredPort().value_or(kFallbackUdpPort);
  return position;
}

SetupDialogSettings LoadSetupDialogSettings(BridgeState& state) {
  SetupDialogSettings settings;
  settings.Position = LoadPosition(state, kSetupDialogPositionKeys, kSetupDialogFallbackPosition);
  const auto stored = StoredPort();
  settings.Port = stored.value_or(kFallbackUdpPort);
  return settings;
}

void SaveWindowPositionWhenMoved(BridgeState& state, WindowPosition current, const PositionKeys& keys) {
  // The cache takes the new value even when the write fails: trying again on
  // every pointer move could stall the dialog on a locked directory each
  // time, and a lost position is not worth a word to the operator.
  if (current.X != state.WindowX) {
    state.WindowX = current.X;
    (void)WriteSetting(keys.X, current.X);
  }
  if (current.Y != state.WindowY) {
    state.WindowY = current.Y;
    (void)WriteSetting(keys.Y, current.Y);
  }
}

bool SaveUdpPort(const BridgeState& state) { return WriteSetting(kUdpPortKey, state.UdpPort); }
