#include "link/message_handlers.h"

void HandleClear(BridgeState& state, HostLink& host, MainWindow& window) {
  DisplayFields& fields = window.Fields();
  fields.Call.clear();
  fields.Freq.clear();
  fields.Grid.clear();
  fields.RptSend.clear();
  fields.Mode.clear();
  fields.RptRcvd.clear();
  state.LastComments.clear();
  state.LastName.clear();

  // The last mode, call, report and frequency are kept, so a following Status
  // refills only what differs from them.
  host.SetLogField(0, fields.Call);
  host.SetLogField(5, fields.RptSend);
  host.SetLogField(2, fields.RptRcvd);
  host.SetLogField(4, state.LastComments);
  host.SetLogField(10, fields.Grid);
  host.SetLogField(1, state.LastName);

  window.PushFields();
}
