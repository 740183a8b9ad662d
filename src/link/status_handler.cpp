#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/field_readers.h"
#include "link/frequency.h"
#include "link/message_handlers.h"
#include "link/mode_macros.h"

void HandleStatus(BridgeState& state, HostLink& host, MainWindow& window) {
  DisplayFields& fields = window.Fields();
  state.HasStatusForNewHost = true;

  ReadUtf8(state);  // id
  const std::uint64_t dial = ReadU64(state);

  // Everything is read and kept before the host hears of any of it, so that
  // a host that fails half-way, and attaches again later, is sent this
  // Status and not the one before. The texts are compared as views into the
  // datagram and copied only when they changed, so a Status like the one
  // before costs no allocation; only a text that needs cleaning is copied
  // into its scratch.
  std::string scratch_mode;
  std::string scratch_call;
  std::string scratch_report;
  const std::string_view mode = ReadText(state, scratch_mode);
  const bool mode_changed = mode != state.LastMode;
  if (mode_changed) {
    state.LastMode = mode;
    fields.Mode = mode;
  }
  // Once a Status has named a mode, Heartbeats are no longer answered.
  state.StatusNamedMode = !state.LastMode.empty();

  const std::string_view dx_call = ReadText(state, scratch_call);
  const bool call_changed = dx_call != state.LastDxCall;
  if (call_changed) {
    state.LastDxCall = dx_call;
    fields.Call = dx_call;
  }

  const std::string_view report = ReadText(state, scratch_report);
  const bool report_changed = report != state.LastReport;
  if (report_changed) {
    state.LastReport = report;
    fields.RptSent = report;
  }

  // The Tx mode is skipped by its own length (it differs from the mode in
  // JT9+JT65), then the Tx enabled, transmitting and decoding flags.
  ReadUtf8(state);
  SkipBytes(state, 3);

  std::int32_t rx_offset = static_cast<std::int32_t>(ReadU32(state));
  std::int32_t tx_offset = static_cast<std::int32_t>(ReadU32(state));
  // In CW and SSB the dial frequency is the frequency.
  if (state.LastMode == "CW" || state.LastMode == "SSB") rx_offset = tx_offset = 0;

  // DialReferenceHz holds the Rx frequency last written, so in a mode with an
  // Rx offset this writes on every Status, and in CW and SSB only when the
  // dial moves. A dial of 0 is JTDX before it has read the radio, and a
  // frequency no radio has is neither shown nor sent.
  std::optional<std::int64_t> tx;
  std::optional<std::int64_t> rx;
  if (dial != 0 && static_cast<std::int64_t>(dial) != state.DialReferenceHz) {
    tx = OffsetFrequency(dial, tx_offset);
    rx = OffsetFrequency(dial, rx_offset);
    // The Freq field shows the last Tx frequency unless a Clear emptied it:
    // the text is made anew only when it changes.
    if (tx) {
      if (*tx != state.LastTxFrequency || fields.Freq.empty()) FormatFrequencyText(*tx, fields.Freq);
      state.LastTxFrequency = *tx;
    }
    if (rx) state.LastRxFrequency = *rx;
    state.DialReferenceHz = rx.value_or(static_cast<std::int64_t>(dial));
  }
  window.PushFields();

  if (mode_changed) {
    if (const std::string_view macro = ModeMacro(state.LastMode); !macro.empty()) host.ExecMacro(macro);
  }
  if (call_changed) host.SetLogField(LogField::Call, state.LastDxCall);
  if (report_changed) host.SetLogField(LogField::RptSent, state.LastReport);
  if (tx) host.TxFrequency(static_cast<double>(*tx));
  if (rx) host.RxFrequency(static_cast<double>(*rx));
}
