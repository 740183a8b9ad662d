#include "ui/tui/terminal_desktop.h"

#include <curses.h>

#include <algorithm>
#include <chrono>

#include "ui/resource_ids.h"
#include "ui/tui/dialog_window.h"
#include "ui/tui/terminal_texts.h"
#include "ui/tui/utf8_text.h"

namespace {

bool IsEnterOrEscape(const InputEvent& event) {
  if (event.What == InputEvent::Kind::Key) return event.Code == KEY_ENTER;
  return event.What == InputEvent::Kind::Char && (event.Code == '\r' || event.Code == '\n' || event.Code == 27);
}

}  // namespace

int TerminalDesktop::RunModal(Dialog& dialog) { return Run(dialog, FindDialogTemplate(dialog.TemplateId())); }

void TerminalDesktop::RunMessageBox(const std::string& text, MessageKind) {
  // Both kinds are one text and OK; the box's frame tells it from a dialog.
  Dialog box(0);
  int columns = kMessageBoxColumns;  // as wide as the terminal where that is too many lines
  if (static_cast<int>(WrapUtf8(text, columns).size()) > kMaxMessageLines)
    columns = std::max(columns, screen_.Cols() - 4);
  Run(box, MessageBoxTemplate(text, columns), true);
}

int TerminalDesktop::Run(Dialog& dialog, DialogTemplate layout, bool message_box) {
  TerminalDialogWindow window(*this, dialog, std::move(layout));
  dialog.Attach(window);
  windows_.push_back(&window);
  message_boxes_.push_back(message_box);
  // Nothing is drawn before the initialisation is through, as a dialog's
  // window shows only after it.
  window.SetInitialFocus(dialog.OnInitDialog());
  Invalidate();
  while (!window.Ended() && !quitting_) WaitAndDispatch();
  windows_.pop_back();
  message_boxes_.pop_back();
  Invalidate();
  if (!windows_.empty() && !quitting_) Draw();
  return window.Ended() ? window.Result() : ids::kCancel;
}

void TerminalDesktop::WaitAndDispatch() {
  if (dirty_) Draw();

  std::optional<TerminalDialogWindow::Clock::time_point> next;
  for (const TerminalDialogWindow* window : windows_) {
    const auto due = window->NextTimer();
    if (due && (!next || *due < *next)) next = due;
  }
  int timeout_ms = -1;  // no timer: sleep until something happens
  if (next) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - TerminalDialogWindow::Clock::now());
    timeout_ms = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
  }

  const InputEvent event = screen_.Wait(timeout_ms);
  const auto [needed_rows, needed_cols] = NeededSize();
  const bool fits = screen_.Rows() >= needed_rows && screen_.Cols() >= needed_cols;
  switch (event.What) {
    case InputEvent::Kind::Quit: quitting_ = true; return;
    case InputEvent::Kind::Resize:
      screen_.Clear();
      Invalidate();
      break;
    case InputEvent::Kind::Char:
    case InputEvent::Kind::Key:
      // A box the terminal cannot show whole can still be answered; the main
      // dialog's Enter (Finish) is never taken unseen.
      if (fits || (message_boxes_.back() && IsEnterOrEscape(event))) windows_.back()->OnInput(event);
      break;
    case InputEvent::Kind::Click: {
      if (!fits) break;
      // Clicks outside the topmost dialog go nowhere: the ones under it are
      // disabled while it runs.
      const auto [row, col] = ClientOrigin(windows_.size() - 1);
      const CellSize size = windows_.back()->ClientSize();
      const int r = event.Row - row;
      const int c = event.Col - col;
      if (r >= 0 && r < size.Rows && c >= 0 && c < size.Cols) windows_.back()->OnClick(r, c);
      break;
    }
    case InputEvent::Kind::None: break;
  }
  DeliverTimers();
}

void TerminalDesktop::DeliverTimers() {
  const auto now = TerminalDialogWindow::Clock::now();
  // A timer's handler may run a modal loop of its own; the windows below the
  // top stay where they are meanwhile, so an index stays good.
  for (std::size_t i = 0; i < windows_.size() && !quitting_; ++i) windows_[i]->DeliverDueTimers(now);
}

std::pair<int, int> TerminalDesktop::ClientOrigin(std::size_t index) const {
  const CellSize size = windows_[index]->ClientSize();
  if (index == 0) return {1, std::max(0, (screen_.Cols() - size.Cols) / 2)};
  // A box: a frame around the client area, under the main dialog where the
  // terminal has room for it above the bottom line, else centred.
  const int col = std::max(1, (screen_.Cols() - size.Cols) / 2);
  const int below_main = windows_.front()->ClientSize().Rows + 2;
  if (below_main + size.Rows + 1 <= screen_.Rows() - 1) return {below_main, col};
  return {std::max(1, (screen_.Rows() - size.Rows) / 2), col};
}

std::pair<int, int> TerminalDesktop::NeededSize() const {
  int rows = 0;
  int cols = 0;
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    const CellSize size = windows_[i]->ClientSize();
    const int frame = i == 0 ? 0 : 2;
    rows = std::max(rows, size.Rows + (i == 0 ? 1 : frame));
    cols = std::max(cols, size.Cols + frame);
  }
  return {rows, cols};
}

void TerminalDesktop::Draw() {
  dirty_ = false;
  if (windows_.empty()) return;
  const int rows = screen_.Rows();
  const int cols = screen_.Cols();
  const auto [needed_rows, needed_cols] = NeededSize();
  screen_.HideCursor();
  if (rows < needed_rows || cols < needed_cols) {
    screen_.Fill(0, 0, rows, cols, Paint::Background);
    screen_.Put(0, 0, texts::TerminalTooSmall(needed_cols, needed_rows), Paint::TextCell);
    screen_.Put(1, 0, texts::TerminalSize(cols, rows), Paint::TextCell);
    screen_.Update();
    return;
  }

  const TerminalDialogWindow& main = *windows_.front();
  screen_.Fill(0, 0, 1, cols, Paint::Caption);
  screen_.Put(0, 1, main.Title(), Paint::Caption);
  screen_.Fill(1, 0, rows - 1, cols, Paint::Background);
  std::optional<std::pair<int, int>> cursor;
  for (std::size_t i = 0; i < windows_.size(); ++i) {
    const auto [row, col] = ClientOrigin(i);
    if (i > 0) {
      const CellSize size = windows_[i]->ClientSize();
      screen_.Frame(row - 1, col - 1, size.Rows + 2, size.Cols + 2, Paint::Caption);
      screen_.Put(row - 1, col + 1, " " + windows_[i]->Title() + " ", Paint::Caption);
    }
    cursor = windows_[i]->Draw(screen_, row, col);
  }

  // The keys, on the bottom line where the main dialog leaves it free.
  if (rows > main.ClientSize().Rows + 1) {
    std::string hint = texts::kKeysHint;
    if (!main.MenuItemText().empty()) hint += texts::MenuKeyHint(main.MenuItemText());
    screen_.Fill(rows - 1, 0, 1, cols, Paint::Hint);
    screen_.Put(rows - 1, 0, hint, Paint::Hint);
  }
  if (cursor) screen_.PlaceCursor(cursor->first, cursor->second);
  screen_.Update();
}
