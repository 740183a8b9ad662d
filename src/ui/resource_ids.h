#pragma once

// Identifiers shared by the dialog classes and the front ends' resources.
namespace ids {

inline constexpr int kOk = 1;  // the Finish button, and OK in the Setup dialog
inline constexpr int kCancel = 2;

inline constexpr int kAboutTemplate = 100;
inline constexpr int kAboutMenuString = 101;
inline constexpr int kMainTemplate = 102;
inline constexpr int kAppIcon = 128;
inline constexpr int kSetupTemplate = 129;

// Edit controls of the main dialog (there is no 1002) and its Setup button.
inline constexpr int kCallEdit = 1000;
inline constexpr int kRptSentEdit = 1001;
inline constexpr int kRptRcvdEdit = 1003;
inline constexpr int kGridEdit = 1004;
inline constexpr int kModeEdit = 1005;
inline constexpr int kFreqEdit = 1006;
inline constexpr int kSetupButton = 1007;
// The main dialog's status line under the buttons.
inline constexpr int kStatusLine = 1008;

// The Setup dialog's port edit.
inline constexpr int kPortEdit = 1000;

// The About item of the system menu; commands 16 to 31 all open the box.
inline constexpr unsigned kAboutCommand = 16;

}  // namespace ids
