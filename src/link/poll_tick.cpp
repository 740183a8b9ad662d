#include "link/poll_tick.h"

#include <cstdint>

#include "link/bridge_title.h"
#include "link/datagram_check.h"
#include "link/endpoint.h"
#include "link/field_readers.h"
#include "link/message_handlers.h"

namespace {

enum MessageType : std::uint8_t {
  kHeartbeat = 0,
  kStatus = 1,
  kClear = 3,
  kQsoLogged = 5,
  kClose = 6,
};

constexpr std::size_t kTypeByte = 11;  // the low byte of the big-endian type

// Until a Status has named a mode, Heartbeats are answered with JTDX's magic
// alone, a reply JTDX drops without a word; afterwards they are not.
void HandleHeartbeat(BridgeState& state) {
  ReadUtf8(state);  // id
  if (state.StatusNamedMode) return;
  const HeartbeatReply reply = MakeHeartbeatReply(state);
  if (reply.Size > 0) SendToPeer(state, reply.Bytes.data(), reply.Size);
}

}  // namespace

void PollTick(BridgeState& state, HostLink& host, MainWindow& window) {
  window.StopPollTimer();

  if (state.TitleStale) {
    state.TitleText = BridgeTitle(state);
    window.SetTitle(state.TitleText);
    state.TitleStale = false;
  }

  if (!host.IsAttached()) host.AttachHost();

  // When nothing new came, the last datagram stays current and is handled
  // again; the handlers keep those repeats from reaching the host twice.
  ReceiveDatagram(state);

  if (IsAcceptedDatagram(state)) {
    state.ReadPos = kHeaderSize;  // the fields follow the header
    // Only the type's low byte counts; Decode and the rest are ignored.
    switch (DatagramByte(state, kTypeByte)) {
      case kHeartbeat:
        HandleHeartbeat(state);
        break;
      case kStatus:
        HandleStatus(state, host, window);
        break;
      case kClear:
        HandleClear(state, host, window);
        break;
      case kQsoLogged:
        HandleQsoLogged(state, host, window);
        break;
      case kClose:
        // JTDX has gone: the timer stays stopped until the program is
        // started again.
        CloseEndpoint(state);
        return;
      default:
        break;
    }
  }

  window.StartPollTimer();
}
