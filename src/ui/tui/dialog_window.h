#pragma once
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/dialog.h"
#include "ui/tui/cell_layout.h"
#include "ui/tui/dialog_templates.h"
#include "ui/tui/terminal_screen.h"

class TerminalDesktop;

// One dialog shown in the terminal: its controls laid out from the template,
// the focus, the texts of its edits, its timers, and the keys and clicks
// that become the dialog's messages. Child dialogs and message boxes run on
// the desktop, which keeps this window's timers going meanwhile.
class TerminalDialogWindow : public WindowPort {
 public:
  using Clock = std::chrono::steady_clock;

  TerminalDialogWindow(TerminalDesktop& desktop, Dialog& dialog, DialogTemplate layout);

  // Puts the focus on the first tab stop, unless the initialisation placed
  // it already or asked for none.
  void SetInitialFocus(bool wanted);

  // WindowPort.
  void SetTitle(const std::string& title) override;
  void SetControlText(int control, const std::string& text) override;
  std::string GetControlText(int control) override;
  void FocusControl(int control) override;
  void StartTimer(unsigned id, unsigned interval_ms) override;
  void StopTimer(unsigned id) override;
  WindowRect GetWindowRect() override;
  void MoveWindow(int x, int y) override;
  void AddSystemMenuItem(unsigned command, const std::string& text) override;
  void EndDialog(int result) override;
  void ShowMessage(const std::string& text, MessageKind kind) override;
  int RunModal(Dialog& child) override;

  // Input for this window while it is the topmost one; clicks in cells of
  // its client area.
  void OnInput(const InputEvent& event);
  void OnClick(int row, int col);

  // The earliest time one of its timers is due, if any runs.
  std::optional<Clock::time_point> NextTimer() const;
  // Delivers each timer due at `now` once; false when none was due.
  bool DeliverDueTimers(Clock::time_point now);

  bool Ended() const { return result_.has_value(); }
  int Result() const { return result_.value_or(0); }
  const std::string& Title() const { return title_; }
  CellSize ClientSize() const { return ClientCells(layout_); }
  // The system-menu item a key can reach (F1), empty when there is none.
  const std::string& MenuItemText() const { return menu_text_; }

  // Draws the client area with its top left cell at (row, col); returns
  // where the text cursor belongs, if the focus is in an edit.
  std::optional<std::pair<int, int>> Draw(TerminalScreen& screen, int row, int col) const;

 private:
  struct Control {
    ControlTemplate Template;
    CellRect Cells;
    std::string Text;
  };
  struct Timer {
    std::chrono::milliseconds Interval;
    Clock::time_point Due;
  };

  Control* FindControl(int id);
  void MoveFocus(int step);
  void Activate(const Control& button);
  void TypeInto(Control& edit, const std::string& typed, bool erase);
  Control* Focused();

  TerminalDesktop& desktop_;
  Dialog& dialog_;
  DialogTemplate layout_;
  std::vector<Control> controls_;
  std::string title_;
  int focus_ = -1;              // index into controls_
  bool focus_set_ = false;      // the initialisation placed the focus itself
  bool text_selected_ = false;  // the focused edit's whole text is selected
  std::map<unsigned, Timer> timers_;
  WindowRect rect_;
  unsigned menu_command_ = 0;
  std::string menu_text_;
  std::optional<int> result_;
};
