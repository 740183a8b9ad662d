#include "bridge/station.h"

#include <utility>

#include "bridge/clean_text.h"
#include "bridge/frequency.h"
#include "bridge/message_handlers.h"
#include "host/host_macros.h"

namespace {

// Replaces a kept text with the Status's, cleaned; true when it differs.
bool KeepText(std::string_view text, std::string& kept, std::string& scratch) {
  const std::string_view clean = CleanText(text, scratch);
  if (clean == kept) return false;
  kept = clean;
  return true;
}

}  // namespace

StatusChanges Station::KeepStatus(const jtdx::StatusMessage& status) {
  StatusChanges changes;
  std::string scratch;
  changes.Mode = KeepText(status.Mode, mode_, scratch);
  // Once a Status has named a mode, Heartbeats are no longer answered.
  named_mode_ = !mode_.empty();
  changes.Call = KeepText(status.DxCall, dx_call_, scratch);
  changes.Report = KeepText(status.Report, report_, scratch);
  // What changed is the Status's own now, no unsaved contact's.
  if (changes.Call) call_unsaved_ = false;
  if (changes.Report) report_unsaved_ = false;
  has_status_for_new_host_ = true;

  // In CW and SSB the dial frequency is the frequency.
  const bool dial_is_frequency = mode_ == "CW" || mode_ == "SSB";
  const std::int32_t rx_offset = dial_is_frequency ? 0 : status.RxDf;
  const std::int32_t tx_offset = dial_is_frequency ? 0 : status.TxDf;
  // The reference holds the Rx frequency last written, so in a mode with an
  // Rx offset this writes on every Status, and in CW and SSB only when the
  // dial moves. A dial of 0 is JTDX before it has read the radio, and a
  // frequency no radio has is neither shown nor sent.
  const std::uint64_t dial = status.DialFrequency;
  if (dial == 0 || static_cast<std::int64_t>(dial) == dial_reference_hz_) return changes;
  changes.Tx = OffsetFrequency(dial, tx_offset);
  changes.Rx = OffsetFrequency(dial, rx_offset);
  if (changes.Tx) {
    changes.TxFrequency = *changes.Tx != tx_frequency_;
    tx_frequency_ = *changes.Tx;
  }
  if (changes.Rx) rx_frequency_ = *changes.Rx;
  dial_reference_hz_ = changes.Rx.value_or(static_cast<std::int64_t>(dial));
  return changes;
}

void Station::KeepContact(std::string_view call, bool call_sign, std::string mode, std::string report,
                          std::int64_t frequency_hz) {
  if (call_sign) {
    dx_call_ = call;
    call_unsaved_ = false;
  }
  if (frequency_hz != 0) dial_reference_hz_ = tx_frequency_ = frequency_hz;
  mode_ = std::move(mode);
  report_ = std::move(report);
  report_unsaved_ = false;
}

void Station::BringUpToDate(HostLink& host) const {
  if (!has_status_for_new_host_) return;
  if (const std::string_view macro = ModeMacro(mode_); !macro.empty()) host.ExecMacro(macro);
  if (!call_unsaved_) host.SetLogField(LogField::Call, dx_call_);
  if (!report_unsaved_) host.SetLogField(LogField::RptSent, report_);
  if (tx_frequency_ != 0) host.TxFrequency(static_cast<double>(tx_frequency_));
  if (rx_frequency_ != 0) host.RxFrequency(static_cast<double>(rx_frequency_));
}

// The Status handler lives beside what it keeps: JTDX sends several
// Statuses a second.
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

// Flattened, the station's keeping inlined into it: this is the path of
// several Statuses a second.
[[gnu::flatten]] void HandleStatus(const jtdx::StatusMessage& status, BridgeState& state, HostLink& host,
                                   MainWindow& window) {
  // Everything is kept before the host hears of any of it, so that a host
  // that fails half-way, and attaches again later, is sent this Status and
  // not the one before.
  const StatusChanges changes = state.Kept.KeepStatus(status);
  ShowStatus(changes, state.Kept, window.Fields());
  window.PushFields();
  SendStatus(changes, state.Kept, host);
}
