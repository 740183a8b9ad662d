#pragma once
#include "bridge/bridge.h"
#include "settings/dialog_settings.h"
#include "ui/dialog.h"
#include "ui/socket_failures.h"

// The Setup dialog: the UDP port. The bridge goes on listening while it is
// shown; what is typed stays in PortNumber until OK. OK moves the endpoint
// to that port, and only once the new port is bound does the bridge leave
// the old one, store the new one and show it in the title at the next tick.
// When the new port is held elsewhere the bridge stays where it was and the
// dialog says so. Cancel changes nothing.
class Setup : public Dialog {
 public:
  // The position cache is the main dialog's, shared with it.
  Setup(Bridge& bridge, const SettingsFolder& settings, WindowPosition& position_cache, SocketFailures& failures);

  bool OnInitDialog() override;
  void OnEditChanged(int control) override;
  void OnSetCursor() override;

  int PortNumber = 0;

 protected:
  bool DoDataExchange(bool save) override;
  // OK's own step: moves the endpoint to the port typed; false when the
  // port is held elsewhere, and the dialog stays open.
  bool OnAccepted() override;

 private:
  // Refuses the edit's text with a message and puts the focus back into it.
  bool Refuse(const char* message);

  Bridge& bridge_;
  const SettingsFolder& settings_;
  WindowPosition& position_cache_;
  SocketFailures& failures_;
};
