#include "settings/dialog_settings.h"

#include "settings/settings_file.h"

namespace {

int ReadOr(const char* key, int fallback) {
  const int value = ReadSetting(key);
  return value == 0 ? fallback : value;
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
  const auto position = LoadPosition(state, kMainDialogPositionKeys, kMainDialogFallbackPosition);
  state.UdpPort = ReadOr(kUdpPortKey, kFallbackUdpPort);
  return position;
}

SetupDialogSettings LoadSetupDialogSettings(BridgeState& state) {
  SetupDialogSettings settings;
  settings.Position = LoadPosition(state, kSetupDialogPositionKeys, kSetupDialogFallbackPosition);
  settings.Port = ReadSetting(kUdpPortKey);
  if (settings.Port == 0) {
    settings.Port = kFallbackUdpPort;
    state.UdpPort = kFallbackUdpPort;
  }
  return settings;
}

void CheckWindowPosition(BridgeState& state, WindowPosition current, const PositionKeys& keys) {
  if (current.X != state.WindowX) {
    state.WindowX = current.X;
    WriteSetting(keys.X, current.X);
  }
  if (current.Y != state.WindowY) {
    state.WindowY = current.Y;
    WriteSetting(keys.Y, current.Y);
  }
}

void SaveUdpPort(const BridgeState& state) { WriteSetting(kUdpPortKey, state.UdpPort); }
// STUB
#include <filesystem>
std::string UnsavedContactsPath() { return (std::filesystem::current_path() / "Plugins" / "Tolm_JTDX_unsaved.adi").string(); }
