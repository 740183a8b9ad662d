#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialog.h"
#include "ui/window_port.h"

// A window that remembers what the dialog did to it. Child dialogs run
// "modally" in a fake window of their own: initialised, then handed to
// ChildScript, which plays the user; the child's end result is returned.
class FakeWindowPort : public WindowPort, public ModalRunner {
 public:
  void SetTitle(const std::string& title) override { Title = title; }
  void SetControlText(int control, const std::string& text) override;
  std::string GetControlText(int control) override { return Controls[control]; }
  void FocusControl(int control) override { Focus = control; }
  void StartTimer(unsigned id, unsigned interval_ms) override { Timers[id] = interval_ms; }
  void StopTimer(unsigned id) override { Timers.erase(id); }
  WindowRect GetWindowRect() override { return Rect; }
  void MoveWindow(int x, int y) override;
  void AddSystemMenuItem(unsigned command, const std::string& text) override { MenuItems.emplace_back(command, text); }
  void EndDialog(int result) override { Result = result; }
  // The box is "up" while WhileMessageShown runs, as a real box's loop
  // delivers timers: a test plays the ticks there.
  void ShowMessage(const std::string& text, MessageKind kind) override {
    Messages.emplace_back(text, kind);
    if (WhileMessageShown) WhileMessageShown();
  }
  int RunModal(Dialog& child) override;

  // Types into an edit as the user would: the text changes, then the edit's
  // change notification reaches the dialog.
  void Type(int control, const std::string& text);

  // Initialises a top-level dialog in this window and returns its result.
  bool Open(Dialog& dialog);

  bool TimerRunning(unsigned id) const { return Timers.count(id) != 0; }

  Dialog* Shown = nullptr;
  std::string Title;
  std::map<int, std::string> Controls;
  std::vector<int> Pushed;  // controls written, in order
  std::optional<int> Focus;
  std::map<unsigned, unsigned> Timers;
  WindowRect Rect{0, 0, 300, 200};
  std::vector<std::pair<int, int>> Moves;
  std::vector<std::pair<unsigned, std::string>> MenuItems;
  std::optional<int> Result;
  std::vector<std::pair<std::string, MessageKind>> Messages;

  std::function<void()> WhileMessageShown;
  std::function<void(Dialog& child, FakeWindowPort& window)> ChildScript;
  std::vector<std::unique_ptr<FakeWindowPort>> Children;
  std::vector<int> ChildTemplates;
};
