#pragma once
#include <deque>
#include <string>
#include <vector>

#include "bridge/bridge.h"
#include "core/main_window.h"
#include "core/main_window.h"
#include "settings/dialog_settings.h"
#include "ui/dialog.h"
#include "ui/socket_failures.h"

// The main dialog: the six display fields, Finish and Setup. Its
// initialisation starts the bridge, and its 100 ms timer runs the bridge's
// tick for the life of the program; the title and the status line show what
// the bridge's state says. It tells the operator what the tick could not
// do (Tolm stopped answering, a contact that did not reach Tolm) in one
// message box at a time, with the ticks going on under it.
class CRelvanDlg : public Dialog, public MainWindow {
 public:
  CRelvanDlg(Bridge& bridge, const SettingsFolder& settings, SocketFailures& failures);

  bool OnInitDialog() override;
  void OnButtonClicked(int control) override;
  void OnTimer(unsigned id) override;
  void OnSetCursor() override;
  bool OnSysCommand(unsigned command) override;

  // What the notices still queued say, one box's text each, taking them:
  // at the end, when no box can be shown in this window any more.
  std::vector<std::string> TakeLastMessages();

  // MainWindow, for the poll tick and the message handlers.
  DisplayFields& Fields() override { return fields_; }
  void PushFields() override { UpdateData(false); }
  void StartPollTimer() override { Window().StartTimer(kPollTimerId, kPollIntervalMs); }
  void StopPollTimer() override { Window().StopTimer(kPollTimerId); }

 protected:
  bool DoDataExchange(bool save) override;

 private:
  void OnSetup();
  // Reads the bridge's facts once and writes the title when the port it
  // names has changed, and the status line when what it says has.
  void ShowFacts();
  // Shows the notices the ticks queued, one box at a time.
  void ShowNotices();
  // The text of the next box: the first notice on its own, or, after a box,
  // the contacts queued while it was up, all in one.
  std::string TakeNextMessage(bool after_box);
  // Adds what the bridge queued since to the notices still to be shown;
  // whether any are.
  bool TakeBridgeNotices();

  Bridge& bridge_;
  const SettingsFolder& settings_;
  SocketFailures& failures_;
  DisplayFields fields_;
  // The window's own: one position cache shared with the Setup dialog.
  WindowPosition position_cache_;
  bool setup_open_ = false;
  bool box_open_ = false;
  int titled_port_ = 0;
  std::string status_text_;
  std::deque<OperatorNotice> notices_;  // taken from the bridge, not yet shown
};
