#pragma once
#include <string>

// The terminal as the front end uses it, over ncursesw: one screen of cells
// drawn in the dialogs' colours, and input that is waited for without
// spinning. Only one can be open at a time; it restores the terminal when it
// closes (Close or the destructor), and also when the process ends through
// exit().

// What a cell is painted as.
enum class Paint {
  Background,  // the dialog's background brush
  TextCell,    // the cells behind text
  Caption,     // the title bar and dialog frames
  Hint,        // the key help below the main window
};

struct InputEvent {
  enum class Kind { None, Char, Key, Click, Resize, Quit };
  Kind What = Kind::None;
  int Code = 0;  // a character (Char) or an ncurses key code (Key)
  int Row = 0;   // screen cell of a click
  int Col = 0;
};

class TerminalScreen {
 public:
  // Closed until Open; the calls below Close are for an open screen only.
  TerminalScreen() = default;
  ~TerminalScreen();
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  // Takes over the terminal on standard input and output. False, with the
  // reason, when that terminal cannot be used (or a screen is open already).
  [[nodiscard]] bool Open(std::string& reason);
  // Gives the terminal back as it was, so that what is printed next lands on
  // it rather than in the screen. Nothing when not open.
  void Close();

  int Rows() const;
  int Cols() const;

  void Clear();
  void Fill(int row, int col, int rows, int cols, Paint paint);
  // Writes UTF-8 text clipped to the screen; reverse swaps the colours.
  void Put(int row, int col, const std::string& text, Paint paint, bool reverse = false, bool bold = false);
  void Frame(int row, int col, int rows, int cols, Paint paint);
  void PlaceCursor(int row, int col);
  void HideCursor();
  // Sends what changed since the last update to the terminal.
  void Update();

  // Waits at most timeout_ms (forever when negative) for a key, a click, a
  // resize or a request to end (SIGINT, SIGTERM, SIGHUP); None on time-out.
  InputEvent Wait(int timeout_ms);

 private:
  InputEvent ReadPending();

  bool open_ = false;
  bool cursor_visible_ = false;
  bool keys_may_wait_ = true;  // the last read found a key; more may be held
};
