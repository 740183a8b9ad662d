#include "bridge/message_handlers.h"

void HandleClear(BridgeState& state, HostLink& host, MainWindow& window) {
  DisplayFields& fields = window.Fields();
  fields.Call.clear();
  fields.Freq.clear();
  fields.Grid.clear();
  fields.RptSent.clear();
  fields.Mode.clear();
  fields.RptRcvd.clear();
  state.Kept.Comments.clear();
  state.Kept.Name.clear();

  // The last mode, call, report and frequency are kept, so a following Status
  // refills only what differs from them.
  host.SetLogField(LogField::Call, fields.Call);
  host.SetLogField(LogField::RptSent, fields.RptSent);
  host.SetLogField(LogField::RptRcvd, fields.RptRcvd);
  host.SetLogField(LogField::Comments, state.Kept.Comments);
  host.SetLogField(LogField::Grid, fields.Grid);
  host.SetLogField(LogField::Name, state.Kept.Name);

  window.PushFields();
}
