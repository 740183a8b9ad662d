
#include "bridge/frequency.h"
#include "bridge/message_handlers.h"
#include "host/host_macros.h"

namespace {

void ShowStatus(const StatusChanges& changes, const Station& kept, DisplayFields& fields) {
  if (changes.Mode) fields.Mode = kept.Mode();
  if (changes.Call) fields.Call = kept.DxCall();
  if (changes.Report) fields.RptSent = kept.Report();
  // The Freq field shows the last Tx frequency unless a Clear emptied it: the
  // text is made anew only when it changes.
  if (changes.Tx && (changes.TxFrequency || fields.Freq.empty())) FormatFrequencyText(*changes.Tx, fields.Freq);
}

void SendStatus(const StatusChanges& changes, const Station& kept, HostLink& host) {
  if (changes.Mode) {
    if (const std::string_view macro = ModeMacro(kept.Mode()); !macro.empty()) host.ExecMacro(macro);
  }
  if (changes.Call) host.SetLogField(LogField::Call, kept.DxCall());
  if (changes.Report) host.SetLogField(LogField::RptSent, kept.Report());
  if (changes.Tx) host.TxFrequency(static_cast<double>(*changes.Tx));
  if (changes.Rx) host.RxFrequency(static_cast<double>(*changes.Rx));
}

}  // namespace

void HandleStatus(const jtdx::StatusMessage& status, BridgeState& state, HostLink& host, MainWindow& window) {
  // Everything is kept before the host hears of any of it, so that a host
  // that fails half-way, and attaches again later, is sent this Status and
  // not the one before.
  const StatusChanges changes = state.Kept.KeepStatus(status);
  ShowStatus(changes, state.Kept, window.Fields());
  window.PushFields();
  SendStatus(changes, state.Kept, host);
}
