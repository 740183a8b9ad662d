#pragma once
#include "core/bridge_state.h"
#include "core/display_fields.h"
#include "core/main_window.h"
#include "host/host_link.h"
#include "ui/dialog.h"
#include "ui/socket_failures.h"

// The main dialog: the six display fields, Finish and Setup. Its
// initialisation starts the bridge, and its 100 ms timer runs the poll tick
// for the life of the program.
class CRelvanDlg : public Dialog, public MainWindow {
 public:
  CRelvanDlg(BridgeState& state, HostLink& host, SocketFailures& failures);

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

  BridgeState& state_;
  HostLink& host_;
  SocketFailures& failures_;
  DisplayFields fields_;
};
