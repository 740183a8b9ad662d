#include "link/field_readers.h"
#include "link/frequency_text.h"
#include "link/message_handlers.h"

namespace {

constexpr std::size_t kDateTimeBytes = 13;  // Julian day, ms of day, time spec

}  // namespace

void HandleQsoLogged(BridgeState& state, HostLink& host, MainWindow& window) {
  // The kept datagram comes round again on every tick: act on it once. A
  // newly taken QSO Logged is always a contact of its own, also with the
  // same call (the same station on another band): JTDX never sends the same
  // datagram twice in a row.
  if (state.LoggedDatagram == state.DatagramNumber) return;
  state.LoggedDatagram = state.DatagramNumber;

  DisplayFields& fields = window.Fields();

  ReadUtf8(state);  // id
  SkipBytes(state, kDateTimeBytes);  // time off

  state.LastDxCall = ReadUtf8(state);
  fields.Call = state.LastDxCall;
  host.SetLogField(LogField::Call, state.LastDxCall);

  state.LastGrid = ReadUtf8(state);
  fields.Grid = state.LastGrid;
  host.SetLogField(LogField::Grid, state.LastGrid);

  // The logged frequency is the Tx frequency: dial plus Tx offset.
  state.LastFrequency = static_cast<std::int64_t>(ReadU64(state));
  FormatFrequencyText(state.LastFrequency, fields.Freq);

  // The mode is shown and kept, but the host's mode is left to Status.
  state.LastMode = ReadUtf8(state);
  fields.Mode = state.LastMode;

  state.LastReport = ReadUtf8(state);
  fields.RptSent = state.LastReport;
  state.LastReportRcvd = ReadUtf8(state);
  fields.RptRcvd = state.LastReportRcvd;

  ReadUtf8(state);  // Tx power
  state.LastComments = ReadUtf8(state);
  state.LastName = ReadUtf8(state);

  // An empty name leaves the name the host may already have.
  if (!state.LastName.empty()) host.SetLogField(LogField::Name, state.LastName);
  host.SetLogField(LogField::RptSent, state.LastReport);
  host.SetLogField(LogField::RptRcvd, state.LastReportRcvd);
  host.SetLogField(LogField::Comments, state.LastComments);
  host.ExecMacro("<CURSOR:TX>");
  host.ExecMacro("<FIXSTARTTIME>");
  window.PushFields();

  host.TxFrequency(static_cast<double>(state.LastFrequency));
  host.ExecMacro("<SAVEQSO>");

  // The entry is saved; the call stays in LastDxCall for the change test.
  fields.Call.clear();
  window.PushFields();
}
