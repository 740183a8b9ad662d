#pragma once
#include <chrono>
#include <string>

#include "core/bridge_state.h"
#include "core/clock.h"
#include "core/display_fields.h"
#include "core/main_window.h"
#include "host/host_link.h"
#include "ui/dialog.h"
#include "ui/socket_failures.h"

// The main dialog: the six display fields, Finish and Setup. Its
// initialisation starts the bridge, and its 100 ms timer runs the poll tick
// for the life of the program. It tells the operator what the tick could not
// do (Tolm stopped answering, a contact that did not reach Tolm) in one
// message box at a time, with the ticks going on under it.
class CRelvanDlg : public Dialog, public MainWindow {
 public:
  CRelvanDlg(BridgeState& state, HostLink& host, SocketFailures& failures, const Clock& clock);

  bool OnInitDialog() override;
  // Finish: the standard OK, then the socket is closed.
  void OnOK() override;
  void OnButtonClicked(int control) override;
  void OnTimer(unsigned id) override;
  void OnSetCursor() override;
  bool OnSysCommand(unsigned command) override;

  // MainWindow, for the poll tick and the message handlers.
  DisplayFields& Fields() override { return fields_; }
  void PushFields() override { UpdateData(false); }
  void SetTitle(const std::string& title) override { Window().SetTitle(title); }
  void StartPollTimer() override { Window().StartTimer(kPollTimerId, kPollIntervalMs); }
  void StopPollTimer() override { Window().StopTimer(kPollTimerId); }

 protected:
  bool DoDataExchange(bool save) override;

 private:
  void OnSetup();
  // Counts the records waiting in the unsaved-contacts file, and looks again
  // whether it takes an append while it did not.
  void CountUnsavedContacts(Clock::TimePoint now);
  // Writes the status line when what it says has changed.
  void UpdateStatusLine();
  // Shows the notices the ticks queued, one box at a time.
  void ShowNotices();
  // The text of the next box: the first notice on its own, or, after a box,
  // the contacts queued while it was up, all in one.
  std::string TakeNextMessage(bool after_box);

  BridgeState& state_;
  HostLink& host_;
  SocketFailures& failures_;
  const Clock& clock_;
  DisplayFields fields_;
  bool box_open_ = false;
  std::string status_text_;
  Clock::TimePoint unsaved_counted_at_;
  // The unsaved-contacts file is looked at every few seconds, not every tick.
  static constexpr std::chrono::seconds kUnsavedRecount{3};
};
