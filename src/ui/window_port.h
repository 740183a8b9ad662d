#pragma once
#include <string>

class Dialog;

// A dialog's left, top, right and bottom edge in screen pixels.
struct WindowRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

enum class MessageKind { Error, Warning };

// What the dialog classes need of a real window: the few calls a dialog
// framework makes for them. Each front end implements it for its windows
// (Win32 dialogs, the terminal), and tests use a fake.
class WindowPort {
 public:
  virtual ~WindowPort() = default;

  virtual void SetTitle(const std::string& title) = 0;
  virtual void SetControlText(int control, const std::string& text) = 0;
  virtual std::string GetControlText(int control) = 0;
  // Puts the keyboard focus into a control with all its text selected.
  virtual void FocusControl(int control) = 0;

  virtual void StartTimer(unsigned id, unsigned interval_ms) = 0;
  virtual void StopTimer(unsigned id) = 0;

  virtual WindowRect GetWindowRect() = 0;
  // Moves the window, keeping its size and its place among other windows.
  virtual void MoveWindow(int x, int y) = 0;

  // Adds an item after a separator, where the window has a system menu.
  virtual void AddSystemMenuItem(unsigned command, const std::string& text) = 0;

  // Ends this dialog's modal run with a result.
  virtual void EndDialog(int result) = 0;
  // A modal message box owned by this window; returns when dismissed.
  virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
  // Runs another dialog modally, owned by this window; returns its result.
  virtual int RunModal(Dialog& child) = 0;
};

// Runs a top-level dialog modally: the front end's part of the application.
class ModalRunner {
 public:
  virtual ~ModalRunner() = default;
  virtual int RunModal(Dialog& dialog) = 0;
};
