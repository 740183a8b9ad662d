#pragma once
#include <vector>

#include "core/main_window.h"

// A MainWindow that keeps what a real dialog would show: every push of the
// display fields and whether the poll timer runs.
class FakeMainWindow : public MainWindow {
 public:
  DisplayFields& Fields() override { return fields_; }
  void PushFields() override { Pushes.push_back(fields_); }
  void StartPollTimer() override {
    TimerRunning = true;
    ++TimerStarts;
  }
  void StopPollTimer() override { TimerRunning = false; }

  // What the window shows: the fields as last pushed.
  const DisplayFields& Shown() const {
    static const DisplayFields kNothing;
    return Pushes.empty() ? kNothing : Pushes.back();
  }

  std::vector<DisplayFields> Pushes;
  bool TimerRunning = false;
  int TimerStarts = 0;

 private:
  DisplayFields fields_;
};
