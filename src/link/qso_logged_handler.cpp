#include <algorithm>
#include <string>
#include <optional>

#include "link/field_readers.h"
#include "link/frequency.h"
#include "link/message_handlers.h"

namespace {

constexpr std::size_t kDateTimeBytes = 13;  // Julian day, ms of day, time spec

bool IsLastContactSaved(const BridgeState& state) {
  return std::equal(state.RecvBuffer.begin(), state.RecvBuffer.begin() + static_cast<std::ptrdiff_t>(state.RecvLength),
                    state.LastQsoLogged.begin(), state.LastQsoLogged.end());
}

// Fills the host's entry with the contact and saves it.
void SaveContact(const BridgeState& state, HostLink& host, MainWindow& window, std::optional<std::int64_t> tx) {
  host.SetLogField(LogField::Call, state.LastDxCall);
  host.SetLogField(LogField::Grid, state.LastGrid);
  // An empty name leaves the name the host may already have.
  if (!state.LastName.empty()) host.SetLogField(LogField::Name, state.LastName);
  host.SetLogField(LogField::RptSent, state.LastReport);
  host.SetLogField(LogField::RptRcvd, state.LastReportRcvd);
  host.SetLogField(LogField::Comments, state.LastComments);
  host.ExecMacro("<CURSOR:TX>");
  host.ExecMacro("<FIXSTARTTIME>");
  window.PushFields();
  if (tx) host.TxFrequency(static_cast<double>(*tx));
  host.ExecMacro("<SAVEQSO>");
}

}  // namespace

void HandleQsoLogged(BridgeState& state, HostLink& host, MainWindow& window) {
  // The same bytes again are the same contact again (a resend, a relay that
  // duplicates): it is saved already. JTDX itself never sends one datagram
  // twice, so the same station logged again always comes with other bytes.
  if (IsLastContactSaved(state)) return;

  ReadUtf8(state);  // id
  SkipBytes(state, kDateTimeBytes);  // time off
  const std::string_view call = ReadUtf8(state);
  if (call.empty()) return;  // no contact without the station worked

  // The window shows the contact even when it cannot reach the log.
  DisplayFields& fields = window.Fields();
  state.LastDxCall = call;
  fields.Call = state.LastDxCall;
  state.LastGrid = ReadUtf8(state);
  fields.Grid = state.LastGrid;

  // The logged frequency is the Tx frequency: dial plus Tx offset.
  const auto tx = CheckedFrequency(ReadU64(state));
  if (tx) {
    state.LastFrequency = state.LastTxFrequency = *tx;
    FormatFrequencyText(*tx, fields.Freq);
  }

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

  if (!host.IsAttached()) {
    window.PushFields();
    throw HostCallError("The contact with " + state.LastDxCall + " was not saved: Tolm is not running.");
  }
  try {
    SaveContact(state, host, window, tx);
  } catch (const HostCallError& error) {
    window.PushFields();
    throw HostCallError("The contact with " + state.LastDxCall + " was not saved in Tolm: " + error.what());
  }
  state.LastQsoLogged.assign(state.RecvBuffer.begin(), state.RecvBuffer.begin() + static_cast<std::ptrdiff_t>(state.RecvLength));

  // The entry is saved; the call stays in LastDxCall for the change test.
  fields.Call.clear();
  window.PushFields();
}
