#pragma once
#include <windows.h>

#include <string>

#include "ui/dialog.h"
#include "ui/window_port.h"

// Centres an icon in a client area the way the minimised main window draws
// it: an odd spare pixel goes to the left or top margin.
constexpr POINT CentredIconOrigin(int client_width, int client_height, int icon_width, int icon_height) {
  return {(client_width - icon_width + 1) / 2, (client_height - icon_height + 1) / 2};
}

// One of our dialogs in a real window: the dialog template of the same id
// from the program's resources, the window's messages routed to the
// portable Dialog's handlers, and the WindowPort calls made with the Win32
// API. Texts are UTF-8 on the dialog's side, UTF-16 on the window's.
class Win32DialogWindow final : public WindowPort {
 public:
  // The main window also carries the application icon (caption, taskbar,
  // minimised, dragged); other dialogs are plain.
  enum class Role { Main, Child };

  Win32DialogWindow(Dialog& dialog, HINSTANCE resources, Role role);
  ~Win32DialogWindow() override;
  Win32DialogWindow(const Win32DialogWindow&) = delete;
  Win32DialogWindow& operator=(const Win32DialogWindow&) = delete;

  // Creates the window and runs its modal loop until the dialog ends; the
  // owner is disabled meanwhile, and its timers keep running. Returns the
  // dialog's result, or -1 when the window could not be created.
  int Run(HWND owner);

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

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Initialise();
  INT_PTR Command(int control, int notification);
  INT_PTR Colour(HDC dc);
  bool PaintMinimised();

  Dialog& dialog_;
  HINSTANCE resources_;
  Role role_;
  HWND window_ = nullptr;
  HBRUSH background_ = nullptr;
  HICON icon_ = nullptr;
  HICON small_icon_ = nullptr;
};

// Runs the program's top-level dialog: the main window, owned by nobody.
// A window that cannot be created is reported in a message box.
class DesktopModalRunner final : public ModalRunner {
 public:
  explicit DesktopModalRunner(HINSTANCE resources) : resources_(resources) {}
  int RunModal(Dialog& dialog) override;

 private:
  HINSTANCE resources_;
};

// A message box owned by no window, for what is told once the main window
// has gone.
void ShowMessageAlone(const std::string& text);
