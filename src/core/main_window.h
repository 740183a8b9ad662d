#pragma once
#include <string>

// The six texts the main dialog shows, in the dialog's member order.
struct DisplayFields {
  std::string Call;
  std::string RptSent;
  std::string RptRcvd;
  std::string Grid;
  std::string Freq;
  std::string Mode;

  bool operator==(const DisplayFields&) const = default;
};

// What the poll tick and the message handlers need of the main dialog: its
// display fields, the push that shows all six at once, and the poll timer. The main dialog class implements it; tests
// use a fake.
class MainWindow {
 public:
  static constexpr unsigned kPollTimerId = 1500;
  static constexpr unsigned kPollIntervalMs = 100;

  virtual ~MainWindow() = default;
  virtual DisplayFields& Fields() = 0;
  virtual void PushFields() = 0;
  virtual void StartPollTimer() = 0;
  virtual void StopPollTimer() = 0;
};
