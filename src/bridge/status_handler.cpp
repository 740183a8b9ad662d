#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/clean_text.h"
#include "bridge/frequency.h"
#include "bridge/message_handlers.h"
#include "host/host_macros.h"

namespace {

// What a Status changed against the one kept before it.
struct StatusChanges {
  bool Mode = false;
  bool Call = false;
  bool Report = false;
  bool TxFrequency = false;        // the Tx frequency differs from the last one sent
  std::optional<std::int64_t> Tx;  // the frequencies to send, when the dial moved
  std::optional<std::int64_t> Rx;
};

// Replaces a kept text with the Status's, cleaned; true when it differs. The
// texts are compared as views and copied only when they changed, so a Status
// like the one before costs no allocation.
bool KeepText(std::string_view text, std::string& kept, std::string& scratch) {
  const std::string_view clean = CleanText(text, scratch);
  if (clean == kept) return false;
  kept = clean;
  return true;
}

// Keeps the Status and says what changed. Everything is kept before the host
// hears of any of it, so that a host that fails half-way, and attaches again
// later, is sent this Status and not the one before.
StatusChanges KeepStatus(const jtdx::StatusMessage& status, KeptStatus& kept) {
  StatusChanges changes;
  std::string scratch;
  changes.Mode = KeepText(status.Mode, kept.Mode, scratch);
  // Once a Status has named a mode, Heartbeats are no longer answered.
  kept.NamedMode = !kept.Mode.empty();
  changes.Call = KeepText(status.DxCall, kept.DxCall, scratch);
  changes.Report = KeepText(status.Report, kept.Report, scratch);
  // What changed is the Status's own now, no unsaved contact's.
  if (changes.Call) kept.DxCallUnsaved = false;
  if (changes.Report) kept.ReportUnsaved = false;
  kept.HasStatusForNewHost = true;

  // In CW and SSB the dial frequency is the frequency.
  const bool dial_is_frequency = kept.Mode == "CW" || kept.Mode == "SSB";
  const std::int32_t rx_offset = dial_is_frequency ? 0 : status.RxDf;
  const std::int32_t tx_offset = dial_is_frequency ? 0 : status.TxDf;
  // DialReferenceHz holds the Rx frequency last written, so in a mode with an
  // Rx offset this writes on every Status, and in CW and SSB only when the
  // dial moves. A dial of 0 is JTDX before it has read the radio, and a
  // frequency no radio has is neither shown nor sent.
  const std::uint64_t dial = status.DialFrequency;
  if (dial == 0 || static_cast<std::int64_t>(dial) == kept.DialReferenceHz) return changes;
  changes.Tx = OffsetFrequency(dial, tx_offset);
  changes.Rx = OffsetFrequency(dial, rx_offset);
  if (changes.Tx) {
    changes.TxFrequency = *changes.Tx != kept.TxFrequency;
    kept.TxFrequency = *changes.Tx;
  }
  if (changes.Rx) kept.RxFrequency = *changes.Rx;
  kept.DialReferenceHz = changes.Rx.value_or(static_cast<std::int64_t>(dial));
  return changes;
}

void ShowStatus(const StatusChanges& changes, const KeptStatus& kept, DisplayFields& fields) {
  if (changes.Mode) fields.Mode = kept.Mode;
  if (changes.Call) fields.Call = kept.DxCall;
  if (changes.Report) fields.RptSent = kept.Report;
  // The Freq field shows the last Tx frequency unless a Clear emptied it: the
  // text is made anew only when it changes.
  if (changes.Tx && (changes.TxFrequency || fields.Freq.empty())) FormatFrequencyText(*changes.Tx, fields.Freq);
}

void SendStatus(const StatusChanges& changes, const KeptStatus& kept, HostLink& host) {
  if (changes.Mode) {
    if (const std::string_view macro = ModeMacro(kept.Mode); !macro.empty()) host.ExecMacro(macro);
  }
  if (changes.Call) host.SetLogField(LogField::Call, kept.DxCall);
  if (changes.Report) host.SetLogField(LogField::RptSent, kept.Report);
  if (changes.Tx) host.TxFrequency(static_cast<double>(*changes.Tx));
  if (changes.Rx) host.RxFrequency(static_cast<double>(*changes.Rx));
}

}  // namespace

void HandleStatus(const jtdx::StatusMessage& status, BridgeState& state, HostLink& host, MainWindow& window) {
  const StatusChanges changes = KeepStatus(status, state.Kept);
  ShowStatus(changes, state.Kept, window.Fields());
  window.PushFields();
  SendStatus(changes, state.Kept, host);
}
