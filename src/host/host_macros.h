#pragma once
#include <string_view>

// The macros the bridge runs in the logger, as Tolm names them; tolm-sim runs
// the same ones.

// The macro that switches the logger to a JTDX mode, found by the first of
// the known mode names that the mode text contains (case-sensitive), so
// "JT9+JT65" gets its own, not that of "JT65" or "JT9"; empty when it
// contains none, as for "WSPR-2".
std::string_view ModeMacro(std::string_view mode);
// The JTDX mode a mode macro selects ("FT8" for "<MODEADD:FT8>"); empty for
// any text that is no mode macro.
std::string_view ModeOfMacro(std::string_view macro);

// Saving a contact: the cursor to the Tx field, the entry's start time
// fixed, then the entry saved as one log record.
inline constexpr std::string_view kCursorToTxMacro = "<CURSOR:TX>";
inline constexpr std::string_view kFixStartTimeMacro = "<FIXSTARTTIME>";
inline constexpr std::string_view kSaveQsoMacro = "<SAVEQSO>";
