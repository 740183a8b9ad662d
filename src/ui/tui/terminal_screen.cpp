#include "ui/tui/terminal_screen.h"

#include <curses.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "ui/dialog_colours.h"
#include "ui/tui/terminal_texts.h"
#include "ui/tui/utf8_text.h"

// Last: it defines macros with common names (lines, columns).
#include <term.h>

namespace {

// Signals that ask the program to end write a byte here, so that the wait
// for input wakes up; a handler can do nothing safer.
int quit_pipe[2] = {-1, -1};
SCREEN* open_screen = nullptr;

void OnQuitSignal(int) {
  const int saved = errno;
  const char byte = 'q';
  [[maybe_unused]] const ssize_t written = write(quit_pipe[1], &byte, 1);
  errno = saved;
}

// exit() from deep inside the bridge (its exit codes) must still give the
// user a working terminal back.
void RestoreTerminalAtExit() {
  if (open_screen != nullptr) endwin();
}

enum Pair : short { kTextCellPair = 1, kBackgroundPair, kCaptionPair, kHintPair };

// The nearest colour of the 6x6x6 cube of 256-colour terminals.
int NearestCubeColour(const Rgb& rgb) {
  const auto level = [](int value) {
    constexpr int kLevels[] = {0, 95, 135, 175, 215, 255};
    int best = 0;
    for (int i = 1; i < 6; ++i) {
      if (std::abs(kLevels[i] - value) < std::abs(kLevels[best] - value)) best = i;
    }
    return best;
  };
  return 16 + 36 * level(rgb.R) + 6 * level(rgb.G) + level(rgb.B);
}

// The dialogs' own colours where the terminal takes any RGB value, the
// nearest ones where it has 256, pale yellow's nearest relatives below that.
void SetUpColours() {
  if (!has_colors()) return;
  start_color();
  const DialogColours& c = kDialogColours;
  int text, text_cell, brush;
  if (COLORS >= 0x1000000 && tigetflag(const_cast<char*>("RGB")) > 0) {
    const auto direct = [](const Rgb& rgb) { return (rgb.R << 16) | (rgb.G << 8) | rgb.B; };
    text = direct(c.Text);
    text_cell = direct(c.TextBackground);
    brush = direct(c.Brush);
  } else if (COLORS >= 256) {
    text = NearestCubeColour(c.Text);
    text_cell = NearestCubeColour(c.TextBackground);
    brush = NearestCubeColour(c.Brush);
  } else {
    text = COLOR_BLACK;
    text_cell = brush = COLORS >= 16 ? COLOR_YELLOW + 8 : COLOR_YELLOW;
  }
  init_extended_pair(kTextCellPair, text, text_cell);
  init_extended_pair(kBackgroundPair, text, brush);
  init_extended_pair(kCaptionPair, COLOR_WHITE, COLOR_BLUE);
  init_extended_pair(kHintPair, COLOR_BLACK, COLOR_WHITE);
}

attr_t PaintAttributes(Paint paint) {
  if (!has_colors()) return paint == Paint::Caption || paint == Paint::Hint ? A_REVERSE : A_NORMAL;
  switch (paint) {
    case Paint::Background: return COLOR_PAIR(kBackgroundPair);
    case Paint::TextCell: return COLOR_PAIR(kTextCellPair);
    case Paint::Caption: return COLOR_PAIR(kCaptionPair) | A_BOLD;
    case Paint::Hint: return COLOR_PAIR(kHintPair);
  }
  return A_NORMAL;
}

}  // namespace

bool TerminalScreen::Open(std::string& reason) {
  if (open_screen != nullptr) {
    reason = texts::kTerminalInUse;
    return false;
  }
  if (quit_pipe[0] < 0 && pipe2(quit_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    reason = texts::kNoSignalPipe;
    return false;
  }
  // Before ncurses starts: it leaves handlers that are already set alone.
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);

  open_screen = newterm(nullptr, stdout, stdin);
  if (open_screen == nullptr) {
    reason = texts::UnknownTerminalType(std::getenv("TERM"));
    return false;
  }
  static const bool registered = std::atexit(RestoreTerminalAtExit) == 0;
  (void)registered;

  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  set_escdelay(25);  // Esc alone closes at once; keys that send sequences still work
  curs_set(0);
  mousemask(BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON1_CLICKED, nullptr);
  mouseinterval(0);  // no waiting to tell clicks from presses
  SetUpColours();
  open_ = true;
  cursor_visible_ = false;
  keys_may_wait_ = true;
  return true;
}

TerminalScreen::~TerminalScreen() { Close(); }

void TerminalScreen::Close() {
  if (!open_) return;
  endwin();
  delscreen(open_screen);
  open_screen = nullptr;
  open_ = false;
}

int TerminalScreen::Rows() const { return LINES; }
int TerminalScreen::Cols() const { return COLS; }

void TerminalScreen::Clear() {
  clearok(stdscr, TRUE);
  werase(stdscr);
}

void TerminalScreen::Fill(int row, int col, int rows, int cols, Paint paint) {
  if (cols <= 0) return;
  const std::string blanks(static_cast<std::size_t>(cols), ' ');
  for (int r = row; r < row + rows; ++r) Put(r, col, blanks, paint);
}

void TerminalScreen::Put(int row, int col, const std::string& text, Paint paint, bool reverse, bool bold) {
  if (row < 0 || row >= LINES || col >= COLS) return;
  std::string shown = text;
  if (col < 0) {
    shown = Utf8Tail(shown, Utf8Columns(shown) + col);
    col = 0;
  }
  shown = Utf8Head(shown, COLS - col);
  attr_t attributes = PaintAttributes(paint);
  if (reverse) attributes |= A_REVERSE;
  if (bold) attributes |= A_BOLD;
  wattrset(stdscr, attributes);
  mvwaddstr(stdscr, row, col, shown.c_str());
  wattrset(stdscr, A_NORMAL);
}

void TerminalScreen::Frame(int row, int col, int rows, int cols, Paint paint) {
  if (rows < 2 || cols < 2) return;
  wattrset(stdscr, PaintAttributes(paint));
  mvwhline(stdscr, row, col + 1, ACS_HLINE, cols - 2);
  mvwhline(stdscr, row + rows - 1, col + 1, ACS_HLINE, cols - 2);
  mvwvline(stdscr, row + 1, col, ACS_VLINE, rows - 2);
  mvwvline(stdscr, row + 1, col + cols - 1, ACS_VLINE, rows - 2);
  mvwaddch(stdscr, row, col, ACS_ULCORNER);
  mvwaddch(stdscr, row, col + cols - 1, ACS_URCORNER);
  mvwaddch(stdscr, row + rows - 1, col, ACS_LLCORNER);
  mvwaddch(stdscr, row + rows - 1, col + cols - 1, ACS_LRCORNER);
  wattrset(stdscr, A_NORMAL);
}

void TerminalScreen::PlaceCursor(int row, int col) {
  if (!cursor_visible_) curs_set(1);
  cursor_visible_ = true;
  wmove(stdscr, row, col);
}

void TerminalScreen::HideCursor() {
  if (cursor_visible_) curs_set(0);
  cursor_visible_ = false;
}

void TerminalScreen::Update() {
  leaveok(stdscr, cursor_visible_ ? FALSE : TRUE);
  wrefresh(stdscr);
}

InputEvent TerminalScreen::ReadPending() {
  wtimeout(stdscr, 0);
  wint_t code = 0;
  const int got = wget_wch(stdscr, &code);
  keys_may_wait_ = got != ERR;
  if (got == ERR) return {};
  if (got == OK) return {InputEvent::Kind::Char, static_cast<int>(code)};
  if (code == KEY_RESIZE) return {InputEvent::Kind::Resize};
  if (code == KEY_MOUSE) {
    MEVENT mouse{};
    if (getmouse(&mouse) != OK) return {};
    // A click counts where the button comes up, as with a real button.
    if ((mouse.bstate & (BUTTON1_RELEASED | BUTTON1_CLICKED)) == 0) return {};
    return {InputEvent::Kind::Click, 0, mouse.y, mouse.x};
  }
  return {InputEvent::Kind::Key, static_cast<int>(code)};
}

InputEvent TerminalScreen::Wait(int timeout_ms) {
  // After a key ncurses may hold more it has read already; those come
  // first. Otherwise the terminal is asked only when it has something.
  if (keys_may_wait_) {
    if (InputEvent pending = ReadPending(); pending.What != InputEvent::Kind::None) return pending;
  }

  pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {quit_pipe[0], POLLIN, 0}};
  int ready = poll(watched, 2, timeout_ms);
  if (ready < 0) {
    // A signal. One that asks the program to end has written its byte by
    // now: it is taken before any timer, so that no tick (and no call to a
    // hung Tolm) comes before the end. A resize reaches ncurses' own handler
    // and shows up as a key.
    ready = poll(&watched[1], 1, 0);
    if (ready <= 0) return ReadPending();
  }
  if (watched[1].revents != 0) {
    char drained[16];
    while (read(quit_pipe[0], drained, sizeof drained) > 0) {
    }
    return {InputEvent::Kind::Quit};
  }
  if ((watched[0].revents & POLLIN) != 0) return ReadPending();
  // The terminal went away.
  if ((watched[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return {InputEvent::Kind::Quit};
  return {};
}
