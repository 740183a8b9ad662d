#pragma once
#include <cstdint>

// Where the bridge keeps its settings: section "Settings" of "Tolm_JTDX.ini"
// in the directory "Plugins" under the working directory. Every key but
// UDP_Group holds an integer.
inline constexpr char kSettingsDirectory[] = "Plugins";
inline constexpr char kSettingsFileName[] = "Tolm_JTDX.ini";
inline constexpr char kSettingsSection[] = "Settings";

// The settings file holds a few lines. Anything else in its place (a FIFO,
// a device, a directory, a file over this size) is not ours: it reads as
// no file and is never written over.
inline constexpr std::uint64_t kMaxSettingsFileBytes = 1 << 20;

// Contacts Tolm did not take, kept beside the settings file.
inline constexpr char kUnsavedContactsFileName[] = "Tolm_JTDX_unsaved.adi";

inline constexpr char kMainDialogXKey[] = "tolm_jtdx_x";
inline constexpr char kMainDialogYKey[] = "tolm_jtdx_y";
inline constexpr char kSetupDialogXKey[] = "Setup_x";
inline constexpr char kSetupDialogYKey[] = "Setup_y";
inline constexpr char kUdpPortKey[] = "UDP_Port";
inline constexpr char kUdpGroupKey[] = "UDP_Group";  // text: a multicast group, or empty

// The two keys under which a dialog keeps its left and top edge.
struct PositionKeys {
  const char* X;
  const char* Y;
};
inline constexpr PositionKeys kMainDialogPositionKeys{kMainDialogXKey, kMainDialogYKey};
inline constexpr PositionKeys kSetupDialogPositionKeys{kSetupDialogXKey, kSetupDialogYKey};
