#include <cstdint>
#include <string_view>

#include "link/field_readers.h"
#include "link/frequency_text.h"
#include "link/message_handlers.h"
#include "link/mode_macros.h"

namespace {

// Dial plus an audio offset. Unsigned arithmetic wraps instead of overflowing
// on absurd dial values; every real frequency is far inside the range.
std::int64_t OffsetFrequency(std::uint64_t dial, std::int32_t offset) {
  return static_cast<std::int64_t>(dial + static_cast<std::uint64_t>(static_cast<std::int64_t>(offset)));
}

}  // namespace

void HandleStatus(BridgeState& state, HostLink& host, MainWindow& window) {
  DisplayFields& fields = window.Fields();

  ReadUtf8(state);  // id
  const std::uint64_t dial = ReadU64(state);

  // The texts are compared as views into the datagram and copied only when
  // they changed, so a repeated Status costs no allocation.
  const std::string_view mode = ReadUtf8(state);
  if (mode != state.LastMode) {
    state.LastMode = mode;
    fields.Mode = mode;
    if (const std::string_view macro = ModeMacro(mode); !macro.empty()) host.ExecMacro(macro);
  }
  // Once a Status has named a mode, Heartbeats are no longer answered.
  state.StatusNamedMode = !state.LastMode.empty();

  const std::string_view dx_call = ReadUtf8(state);
  if (dx_call != state.LastDxCall) {
    state.LastDxCall = dx_call;
    fields.Call = dx_call;
    host.SetLogField(LogField::Call, dx_call);
  }

  const std::string_view report = ReadUtf8(state);
  if (report != state.LastReport) {
    state.LastReport = report;
    fields.RptSent = report;
    host.SetLogField(LogField::RptSent, report);
  }

  // The Tx mode is skipped by its own length (it differs from the mode in
  // JT9+JT65), then the Tx enabled, transmitting and decoding flags.
  ReadUtf8(state);
  SkipBytes(state, 3);

  std::int32_t rx_offset = static_cast<std::int32_t>(ReadU32(state));
  std::int32_t tx_offset = static_cast<std::int32_t>(ReadU32(state));
  // In CW and SSB the dial frequency is the frequency.
  if (state.LastMode == "CW" || state.LastMode == "SSB") rx_offset = tx_offset = 0;

  // LastFrequency holds the Rx frequency last written, so in a mode with an
  // Rx offset this writes on every Status, and in CW and SSB only when the
  // dial moves.
  if (static_cast<std::int64_t>(dial) != state.LastFrequency) {
    state.LastFrequency = OffsetFrequency(dial, tx_offset);
    FormatFrequencyText(state.LastFrequency, fields.Freq);
    host.TxFrequency(static_cast<double>(state.LastFrequency));
    state.LastFrequency = OffsetFrequency(dial, rx_offset);
    host.RxFrequency(static_cast<double>(state.LastFrequency));
  }

  window.PushFields();
}
