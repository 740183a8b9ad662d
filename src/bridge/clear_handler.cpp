#include "bridge/message_handlers.h"

void HandleClear(HostLink& host, MainWindow& window) {
  DisplayFields& fields = window.Fields();
  fields.Call.clear();
  fields.Freq.clear();
  fields.Grid.clear();
  fields.RptSent.clear();
  fields.Mode.clear();
  fields.RptRcvd.clear();

  // Shown before Tolm hears of it: a Tolm that fails on the way must not
  // leave the window showing the station before.
  window.PushFields();
  // The kept mode, call, report and frequency stay, so a following Status
  // refills only what differs from them.
  EmptyLogEntry(host);
}

void EmptyLogEntry(HostLink& host) {
  host.SetLogField(LogField::Call, "");
  host.SetLogField(LogField::RptSent, "");
  host.SetLogField(LogField::RptRcvd, "");
  host.SetLogField(LogField::Comments, "");
  host.SetLogField(LogField::Grid, "");
  host.SetLogField(LogField::Name, "");
}
