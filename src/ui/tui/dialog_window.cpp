#include "ui/tui/dialog_window.h"

#include <curses.h>

#include <algorithm>
#include <utility>

#include "ui/resource_ids.h"
#include "ui/tui/terminal_desktop.h"
#include "ui/tui/terminal_texts.h"
#include "ui/tui/utf8_text.h"

namespace {

// A cell counts as this many pixels where a dialog asks for its rectangle.
constexpr int kCellPixelsWide = 8;
constexpr int kCellPixelsHigh = 16;

constexpr int kEnter = '\r';
constexpr int kNewLine = '\n';
constexpr int kEscape = 27;
constexpr int kTab = '\t';
constexpr int kBackspace = 8;
constexpr int kDelete = 127;

// What a control shows before the dialog sets any text: edits start empty,
// and the icon is drawn in letters.
std::string FirstText(const ControlTemplate& control) {
  if (control.Kind == ControlKind::Icon) return texts::kIconFace;
  return control.Kind == ControlKind::Edit ? "" : control.Text;
}

bool IsButton(const ControlTemplate& control) {
  return control.Kind == ControlKind::Button || control.Kind == ControlKind::DefaultButton;
}

}  // namespace

TerminalDialogWindow::TerminalDialogWindow(TerminalDesktop& desktop, Dialog& dialog, DialogTemplate layout)
    : desktop_(desktop), dialog_(dialog), layout_(std::move(layout)), title_(layout_.Title) {
  for (const ControlTemplate& control : layout_.Controls) {
    controls_.push_back({control, ControlCells(control), FirstText(control)});
  }
  const CellSize size = ClientSize();
  rect_ = {0, 0, size.Cols * kCellPixelsWide, size.Rows * kCellPixelsHigh};
}

void TerminalDialogWindow::SetInitialFocus(bool wanted) {
  if (!wanted || focus_set_) return;
  MoveFocus(+1);
}

void TerminalDialogWindow::SetTitle(const std::string& title) {
  if (title == title_) return;
  title_ = title;
  desktop_.Invalidate();
}

void TerminalDialogWindow::SetControlText(int control, const std::string& text) {
  Control* found = FindControl(control);
  if (found == nullptr || found->Text == text) return;
  found->Text = text;
  desktop_.Invalidate();
  // As an edit does for any change of its text, the dialog's own included.
  if (found->Template.Kind == ControlKind::Edit) dialog_.OnEditChanged(control);
}

std::string TerminalDialogWindow::GetControlText(int control) {
  const Control* found = FindControl(control);
  return found != nullptr ? found->Text : std::string();
}

void TerminalDialogWindow::FocusControl(int control) {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].Template.Id != control || !controls_[i].Template.TabStop()) continue;
    focus_ = static_cast<int>(i);
    focus_set_ = true;
    text_selected_ = controls_[i].Template.Kind == ControlKind::Edit;
    desktop_.Invalidate();
    return;
  }
}

void TerminalDialogWindow::StartTimer(unsigned id, unsigned interval_ms) {
  const std::chrono::milliseconds interval(interval_ms);
  timers_[id] = {interval, Clock::now() + interval};
}

void TerminalDialogWindow::StopTimer(unsigned id) { timers_.erase(id); }

WindowRect TerminalDialogWindow::GetWindowRect() { return rect_; }

void TerminalDialogWindow::MoveWindow(int x, int y) {
  // The terminal places its windows itself; the position is kept so that
  // the dialogs store what they were given and nothing else.
  rect_ = {x, y, x + (rect_.Right - rect_.Left), y + (rect_.Bottom - rect_.Top)};
}

void TerminalDialogWindow::AddSystemMenuItem(unsigned command, const std::string& text) {
  menu_command_ = command;
  menu_text_.clear();
  for (const char c : text) {
    if (c != '&') menu_text_ += c;  // the mnemonic's marker
  }
  desktop_.Invalidate();
}

void TerminalDialogWindow::EndDialog(int result) {
  result_ = result;
  desktop_.Invalidate();
}

void TerminalDialogWindow::ShowMessage(const std::string& text, MessageKind kind) {
  desktop_.RunMessageBox(text, kind);
}

int TerminalDialogWindow::RunModal(Dialog& child) { return desktop_.RunModal(child); }

TerminalDialogWindow::Control* TerminalDialogWindow::FindControl(int id) {
  if (id < 0) return nullptr;
  for (Control& control : controls_) {
    if (control.Template.Id == id) return &control;
  }
  return nullptr;
}

TerminalDialogWindow::Control* TerminalDialogWindow::Focused() {
  return focus_ >= 0 ? &controls_[static_cast<std::size_t>(focus_)] : nullptr;
}

void TerminalDialogWindow::MoveFocus(int step) {
  const int count = static_cast<int>(controls_.size());
  for (int i = 1; i <= count; ++i) {
    const int next = ((focus_ < 0 ? (step > 0 ? -1 : 0) : focus_) + step * i + count * count) % count;
    if (!controls_[static_cast<std::size_t>(next)].Template.TabStop()) continue;
    focus_ = next;
    // An edit reached from the keyboard has its whole text selected.
    text_selected_ = controls_[static_cast<std::size_t>(next)].Template.Kind == ControlKind::Edit;
    desktop_.Invalidate();
    return;
  }
}

void TerminalDialogWindow::Activate(const Control& button) {
  const int id = button.Template.Id;
  if (id == ids::kOk) {
    dialog_.OnOK();
  } else if (id == ids::kCancel) {
    dialog_.OnCancel();
  } else {
    dialog_.OnButtonClicked(id);
  }
}

void TerminalDialogWindow::TypeInto(Control& edit, const std::string& typed, bool erase) {
  if (text_selected_) {
    edit.Text.clear();  // typing replaces the selection, and so does erasing
    text_selected_ = false;
  } else if (erase) {
    if (edit.Text.empty()) return;
    Utf8PopBack(edit.Text);
  }
  edit.Text += typed;
  desktop_.Invalidate();
  dialog_.OnEditChanged(edit.Template.Id);
}

void TerminalDialogWindow::OnInput(const InputEvent& event) {
  Control* focused = Focused();
  const bool on_button = focused != nullptr && IsButton(focused->Template);
  const bool on_edit = focused != nullptr && focused->Template.Kind == ControlKind::Edit;

  if (event.What == InputEvent::Kind::Key) {
    if (event.Code == KEY_BTAB) {
      MoveFocus(-1);
    } else if (event.Code == KEY_ENTER) {
      OnInput({InputEvent::Kind::Char, kEnter});
    } else if (event.Code == KEY_BACKSPACE) {
      OnInput({InputEvent::Kind::Char, kBackspace});
    } else if (event.Code == KEY_F(1) && menu_command_ != 0) {
      dialog_.OnSysCommand(menu_command_);
    }
    return;
  }
  if (event.What != InputEvent::Kind::Char) return;

  switch (event.Code) {
    case kTab: MoveFocus(+1); return;
    case kEscape: dialog_.OnCancel(); return;
    case kEnter:
    case kNewLine: {
      // The focused button, or else the default one: OK.
      if (on_button) {
        Activate(*focused);
        return;
      }
      const auto default_button = std::find_if(controls_.begin(), controls_.end(), [](const Control& c) {
        return c.Template.Kind == ControlKind::DefaultButton;
      });
      if (default_button != controls_.end()) {
        Activate(*default_button);
      } else {
        dialog_.OnOK();
      }
      return;
    }
    case kBackspace:
    case kDelete:
      if (on_edit) TypeInto(*focused, "", true);
      return;
    case ' ':
      if (on_button) {
        Activate(*focused);
        return;
      }
      break;
    default: break;
  }
  if (on_edit && event.Code >= ' ') TypeInto(*focused, Utf8Of(static_cast<char32_t>(event.Code)), false);
}

void TerminalDialogWindow::OnClick(int row, int col) {
  // The pointer is over the window: what a dialog hears before any click.
  dialog_.OnSetCursor();
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    Control& control = controls_[i];
    if (!control.Template.TabStop() || !control.Cells.Contains(row, col)) continue;
    focus_ = static_cast<int>(i);
    text_selected_ = false;
    desktop_.Invalidate();
    if (IsButton(control.Template)) Activate(control);
    return;
  }
}

std::optional<TerminalDialogWindow::Clock::time_point> TerminalDialogWindow::NextTimer() const {
  std::optional<Clock::time_point> next;
  if (Ended()) return next;
  for (const auto& [id, timer] : timers_) {
    if (!next || timer.Due < *next) next = timer.Due;
  }
  return next;
}

bool TerminalDialogWindow::DeliverDueTimers(Clock::time_point now) {
  std::vector<unsigned> due;
  for (const auto& [id, timer] : timers_) {
    if (timer.Due <= now) due.push_back(id);
  }
  for (const unsigned id : due) {
    // A handler may have stopped or restarted this timer, or ended the run.
    const auto timer = timers_.find(id);
    if (Ended() || timer == timers_.end() || timer->second.Due > now) continue;
    timer->second.Due = now + timer->second.Interval;
    dialog_.OnTimer(id);
  }
  return !due.empty();
}

std::optional<std::pair<int, int>> TerminalDialogWindow::Draw(TerminalScreen& screen, int row, int col) const {
  const CellSize size = ClientSize();
  screen.Fill(row, col, size.Rows, size.Cols, Paint::Background);
  std::optional<std::pair<int, int>> cursor;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Control& control = controls_[i];
    const bool has_focus = static_cast<int>(i) == focus_;
    const int r = row + control.Cells.Row;
    const int c = col + control.Cells.Col;
    const int width = control.Cells.Width;
    switch (control.Template.Kind) {
      case ControlKind::Label:
      case ControlKind::Icon: screen.Put(r, c, control.Text, Paint::TextCell); break;
      case ControlKind::Edit: {
        const int inner = std::max(width - 2, 1);
        // Like a one-line edit: the start of a long text, or its end while
        // the caret is in it.
        const std::string shown = has_focus ? Utf8Tail(control.Text, inner) : Utf8Head(control.Text, inner);
        screen.Put(r, c, "[", Paint::Background);
        screen.Put(r, c + inner + 1, "]", Paint::Background);
        screen.Put(r, c + 1, shown, Paint::TextCell, has_focus && text_selected_);
        if (has_focus) cursor = std::make_pair(r, c + 1 + std::min(Utf8Columns(shown), inner));
        break;
      }
      case ControlKind::Button:
      case ControlKind::DefaultButton: {
        const std::string face = "<" + control.Text + ">";
        const int pad = std::max(0, (width - Utf8Columns(face)) / 2);
        screen.Put(r, c + pad, face, Paint::TextCell, has_focus, control.Template.Kind == ControlKind::DefaultButton);
        break;
      }
    }
  }
  return cursor;
}
