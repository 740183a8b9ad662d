#pragma once
#include <string>

// The words the terminal front end and the Linux program show of their own:
// what Windows draws for the dialogs there (a message box's caption and
// button, the icon, the help on the keys) and why the terminal cannot be
// used. The dialogs' own texts are in the resource script and ui/texts.h.
namespace texts {

// A message box's caption and button. The dialogs' OK is "ОК" in Cyrillic;
// the box's is the system's own, in Latin letters.
inline constexpr char kMessageBoxTitle[] = "Relvan";
inline constexpr char kMessageBoxOk[] = "OK";

// The application icon, drawn in letters.
inline constexpr char kIconFace[] = "(R)";

// The keys, on the bottom line; the system menu's item follows when there
// is one: "   F1: О проекте Relvan...".
inline constexpr char kKeysHint[] = " Tab/Shift+Tab: move   Enter: activate   Esc: close";
inline std::string MenuKeyHint(const std::string& item) { return "   F1: " + item; }

// The two lines shown instead of the dialogs when they do not fit.
inline std::string TerminalTooSmall(int needed_cols, int needed_rows) {
  return "Relvan needs a terminal of " + std::to_string(needed_cols) + "x" + std::to_string(needed_rows);
}
inline std::string TerminalSize(int cols, int rows) {
  return "(this one is " + std::to_string(cols) + "x" + std::to_string(rows) + ").";
}

// Why the terminal could not be opened.
inline constexpr char kTerminalInUse[] = "the terminal is in use already";
inline constexpr char kNoSignalPipe[] = "no pipe for signals";
inline std::string UnknownTerminalType(const char* term) {
  return std::string("cannot use the terminal type \"") + (term ? term : "") + "\"";
}

// Why the Linux program will not start, on standard error after "relvan: ".
inline constexpr char kTakesNoArguments[] = "takes no arguments (the port is set in its Setup dialog)";
inline constexpr char kNeedsATerminal[] = "needs a terminal: start it from one, with standard input and output on it";

}  // namespace texts
