#pragma once
#include <string>
#include <vector>

#include "ui/dialog.h"
#include "ui/tui/dialog_templates.h"
#include "ui/tui/terminal_screen.h"
#include "ui/window_port.h"

class TerminalDialogWindow;

// The terminal as a desktop of modal dialogs: the first dialog fills it, with
// its title on the top line; each further one (Setup, About, message boxes)
// is a framed box over it. Input goes to the topmost dialog only. Every run
// is a loop of its own that sleeps until the next key, click, resize or
// timer, and delivers the timers of all dialogs shown, as the modal loops of
// a windowing system do, so the main dialog's ticks go on under the others.
// A box sits under the main dialog where the terminal has room, so that the
// status line stays in sight; a message box too large for the terminal is
// still answered by Enter and Esc.
class TerminalDesktop : public ModalRunner {
 public:
  explicit TerminalDesktop(TerminalScreen& screen) : screen_(screen) {}

  // Shows the dialog over the ones shown already and returns its result when
  // it ends. A request to end the program (a signal, the terminal hanging
  // up) ends every run as cancelled.
  int RunModal(Dialog& dialog) override;
  void RunMessageBox(const std::string& text, MessageKind kind);

  // Something shown has changed: the screen is drawn before the next wait.
  void Invalidate() { dirty_ = true; }

 private:
  int Run(Dialog& dialog, DialogTemplate layout, bool message_box = false);
  void WaitAndDispatch();
  void DeliverTimers();
  void Draw();
  // The screen cell of a window's client area.
  std::pair<int, int> ClientOrigin(std::size_t index) const;
  // Rows and columns the dialogs shown need.
  std::pair<int, int> NeededSize() const;

  TerminalScreen& screen_;
  std::vector<TerminalDialogWindow*> windows_;  // bottom to top
  std::vector<bool> message_boxes_;             // for each window, whether it is a message box
  bool dirty_ = true;
  bool quitting_ = false;
};
