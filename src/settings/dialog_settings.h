#pragma once
#include <string>

#include "core/udp_address.h"
#include "settings/setting_keys.h"
#include "settings/settings_file.h"

// The settings steps of the main and the Setup dialog: what they read at
// initialisation, with the fallbacks for values that read as 0 (and for a
// port outside kMinUdpPort..kMaxUdpPort), and the store of a dialog's
// position when it has moved. Both dialogs share one position cache, a
// WindowPosition the main dialog owns.

// A dialog's left and top edge in screen pixels.
struct WindowPosition {
  int X = 0;
  int Y = 0;
  bool operator==(const WindowPosition&) const = default;
};

inline constexpr WindowPosition kMainDialogFallbackPosition{10, 10};
inline constexpr WindowPosition kSetupDialogFallbackPosition{200, 10};
inline constexpr int kFallbackUdpPort = kJtdxUdpPort;
// The ports a UDP endpoint can be bound to.
inline constexpr int kMinUdpPort = 1;
inline constexpr int kMaxUdpPort = 65535;

// Main dialog initialisation: creates the settings folder, then reads the
// dialog's position into the cache, the port, the multicast group, and
// whether a settings file that is there could not be read.
struct MainDialogSettings {
  WindowPosition Position;  // where to move the main dialog (its size and stacking order stay)
  int Port = kFallbackUdpPort;
  bool FileUnreadable = false;
  std::string UdpGroup;  // the multicast group to share the endpoint in, as written; empty for none
};
MainDialogSettings LoadMainDialogSettings(const SettingsFolder& folder, WindowPosition& cache);

struct SetupDialogSettings {
  WindowPosition Position;  // where to move the Setup dialog
  int Port = 0;             // for the dialog's port field
};

// Setup dialog initialisation: reads its position into the cache and the
// stored port for the dialog's field, 2237 when it reads as 0 or lies outside
// kMinUdpPort..kMaxUdpPort.
SetupDialogSettings LoadSetupDialogSettings(const SettingsFolder& folder, WindowPosition& cache);

// Run whenever the pointer moves over a dialog: each coordinate that differs
// from the cache is stored in the cache and written under the dialog's key.
// A failed write is not retried until the dialog moves again.
void SaveWindowPositionWhenMoved(const SettingsFolder& folder, WindowPosition& cache, WindowPosition current,
                                 const PositionKeys& keys);

// The Setup dialog's OK: stores the port, changed or not. False when the
// write failed (see SettingsFolder::Write): the bridge goes on with the port, and the
// next start reads the port stored before.
[[nodiscard]] bool SaveUdpPort(const SettingsFolder& folder, int port);
