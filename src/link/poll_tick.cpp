#include "link/poll_tick.h"

#include <cstdint>
#include <string>
#include <utility>

#include "link/bridge_title.h"
#include "link/datagram_check.h"
#include "link/endpoint.h"
#include "link/field_readers.h"
#include "link/jtdx_format.h"
#include "link/message_handlers.h"
#include "link/mode_macros.h"

namespace {

constexpr std::size_t kTypeByte = 11;  // the low byte of the big-endian type

// Until a Status has named a mode, Heartbeats are answered with JTDX's magic
// alone, a reply JTDX drops without a word; afterwards they are not.
void HandleHeartbeat(BridgeState& state) {
  if (state.StatusNamedMode) return;
  const HeartbeatReply reply = MakeHeartbeatReply(state);
  if (reply.Size > 0) SendToPeer(state, reply.Bytes.data(), reply.Size);
}

// A host that has just attached learns what JTDX showed while it was away:
// the mode, the station, the report and the frequencies of the last Status.
void SendKeptState(const BridgeState& state, HostLink& host) {
  if (const std::string_view macro = ModeMacro(state.LastMode); !macro.empty()) host.ExecMacro(macro);
  host.SetLogField(LogField::Call, state.LastDxCall);
  host.SetLogField(LogField::RptSent, state.LastReport);
  if (state.LastTxFrequency != 0) host.TxFrequency(static_cast<double>(state.LastTxFrequency));
  if (state.LastRxFrequency != 0) host.RxFrequency(static_cast<double>(state.LastRxFrequency));
}

// Writes the title when what it says has changed: the port after Setup, the
// bind, whether Tolm was found.
void RefreshTitle(BridgeState& state, const HostLink& host, MainWindow& window) {
  const bool attached = host.IsAttached();
  if (!state.TitleStale && attached == state.TitleShowsHost) return;
  state.TitleStale = false;
  state.TitleShowsHost = attached;
  std::string title = BridgeTitle(state, attached);
  if (title == state.TitleText) return;
  state.TitleText = std::move(title);
  window.SetTitle(state.TitleText);
}

}  // namespace

bool DispatchDatagram(BridgeState& state, HostLink& host, MainWindow& window) {
  if (!IsAcceptedDatagram(state)) return true;
  state.ReadPos = kHeaderSize;  // the fields follow the header
  // Only the type's low byte counts; Decode and the rest are ignored.
  switch (static_cast<MessageType>(DatagramByte(state, kTypeByte))) {
    case MessageType::Heartbeat:
      HandleHeartbeat(state);
      break;
    case MessageType::Status:
      HandleStatus(state, host, window);
      break;
    case MessageType::Clear:
      HandleClear(state, host, window);
      break;
    case MessageType::QsoLogged:
      HandleQsoLogged(state, host, window);
      break;
    case MessageType::Close:
      // JTDX has gone: the timer stays stopped until the program is
      // started again.
      CloseEndpoint(state);
      return false;
    case MessageType::Decode:
      break;
  }
  return true;
}

void PollTick(BridgeState& state, HostLink& host, MainWindow& window) {
  window.StopPollTimer();

  if (!host.IsAttached()) {
    host.AttachHost();
    if (host.IsAttached() && state.StatusSeen) SendKeptState(state, host);
  }
  RefreshTitle(state, host, window);

  for (int taken = 0; taken < kMaxDatagramsPerTick && ReceiveDatagram(state); ++taken) {
    if (!DispatchDatagram(state, host, window)) return;
  }

  window.StartPollTimer();
}
