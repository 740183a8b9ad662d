#pragma once
#include "core/bridge_state.h"
#include "ui/dialog.h"
#include "ui/socket_failures.h"

// The Setup dialog: the UDP port. While it is shown the endpoint is closed;
// every edit of the port reaches UdpPort at once; OK reopens the endpoint
// on that port and stores it, and the next tick shows it in the title.
// Cancel puts back the port the bridge listened on and reopens it there.
class Setup : public Dialog {
 public:
  Setup(BridgeState& state, SocketFailures& failures);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnEditChanged(int control) override;
  void OnSetCursor() override;

  int PortNumber = 0;

 protected:
  bool DoDataExchange(bool save) override;

 private:
  // Reopens the endpoint; a socket that stays blocking is closed at once,
  // so that no tick can wait on it.
  void Reopen(bool store_port);

  BridgeState& state_;
  SocketFailures& failures_;
  int port_when_opened_ = 0;
};
