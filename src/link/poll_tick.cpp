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

// Writes the title when the port it names has changed.
void RefreshTitle(BridgeState& state, MainWindow& window) {
  if (!state.TitleStale) return;
  state.TitleStale = false;
  std::string title = BridgeTitle(state);
  if (title == state.TitleText) return;
  state.TitleText = std::move(title);
  window.SetTitle(state.TitleText);
}

// Lets go of a host whose call failed and leaves it alone for a while. The
// operator hears of it once per outage, and not at all when the failure cut
// a contact off: that contact's own notice says so.
void LetGoOfHost(BridgeState& state, HostLink& host, const HostCallError& error) {
  host.DetachHost();
  state.NextAttachAt = state.TickTime + kReattachDelay;
  state.HostFailure = error.what();
  if (state.HostOutage) return;
  state.HostOutage = true;
  OperatorNotice notice;
  notice.What = OperatorNotice::Kind::HostStopped;
  notice.HostDetail = error.what();
  state.Notices.push_back(std::move(notice));
}

// Runs one piece of host work; a failure ends that piece alone.
template <typename Work>
void RunHostWork(BridgeState& state, HostLink& host, Work work) {
  try {
    work();
  } catch (const HostCallError& error) {
    LetGoOfHost(state, host, error);
  }
}

void TryToAttach(BridgeState& state, HostLink& host) {
  // A clock set back must not hold the next attach off for longer.
  if (state.TickTime < state.NextAttachAt && state.NextAttachAt - state.TickTime <= kReattachDelay) return;
  host.AttachHost();
  if (!host.IsAttached()) return;
  RunHostWork(state, host, [&] {
    if (state.HasStatusForNewHost) SendKeptState(state, host);
  });
  if (host.IsAttached()) state.HostOutage = false;
}

}  // namespace

void DispatchDatagram(BridgeState& state, HostLink& host, MainWindow& window) {
  if (!IsAcceptedDatagram(state)) return;
  state.JtdxClosed = false;
  state.ReadPos = kHeaderSize;  // the fields follow the header
  // Only the type's low byte counts; Decode and the rest are ignored.
  switch (static_cast<MessageType>(DatagramByte(state, kTypeByte))) {
    case MessageType::Heartbeat: HandleHeartbeat(state); break;
    case MessageType::Status: HandleStatus(state, host, window); break;
    case MessageType::Clear: HandleClear(state, host, window); break;
    case MessageType::QsoLogged: HandleQsoLogged(state, host, window); break;
    case MessageType::Close:
      // JTDX has gone for now; the endpoint stays open for the JTDX that
      // starts next, and the fields keep what they show.
      state.JtdxClosed = true;
      state.JtdxClosedAt = state.TickTime;
      break;
    case MessageType::Decode: break;
  }
}

void PollTick(BridgeState& state, HostLink& host, MainWindow& window, const Clock& clock) {
  window.StopPollTimer();
  state.TickTime = clock.Now();
  host.StartTickWork();

  if (!host.IsAttached()) TryToAttach(state, host);
  RefreshTitle(state, window);

  int taken = 0;
  const auto handle_all = [&](bool (*receive)(BridgeState&)) {
    for (; taken < kMaxDatagramsPerTick && receive(state); ++taken) {
      RunHostWork(state, host, [&] { DispatchDatagram(state, host, window); });
    }
  };
  if (state.RetiredSocket != kInvalidSocket) {
    handle_all(ReceiveRetiredDatagram);
    CloseRetiredSocket(state);
  }
  handle_all(ReceiveDatagram);

  window.StartPollTimer();
}

namespace {

// A host that is not there: a QSO Logged handed with it goes to the
// unsaved-contacts file without a call.
class AbsentHost : public HostLink {
 public:
  void AttachHost() override {}
  bool IsAttached() const override { return false; }
  void DetachHost() override {}
  void ExecMacro(std::string_view) override {}
  void SetLogField(LogField, std::string_view) override {}
  void TxFrequency(double) override {}
  void RxFrequency(double) override {}
};

// The main dialog's stand-in at the end, when its window may be gone.
class UnseenWindow : public MainWindow {
 public:
  DisplayFields& Fields() override { return fields_; }
  void PushFields() override {}
  void SetTitle(const std::string&) override {}
  void StartPollTimer() override {}
  void StopPollTimer() override {}

 private:
  DisplayFields fields_;
};

}  // namespace

void DrainAndCloseEndpoint(BridgeState& state, HostLink& host, const Clock& clock) {
  UnseenWindow window;
  AbsentHost absent;
  host.StartTickWork();
  const Clock::TimePoint deadline = clock.Now() + kDrainTime;
  int late = 0;  // a sender that never stops must not hold the program open
  const auto drain = [&](bool (*receive)(BridgeState&)) {
    while (late < kMaxDatagramsPerTick && receive(state)) {
      state.TickTime = clock.Now();
      if (state.TickTime < deadline) {
        RunHostWork(state, host, [&] { DispatchDatagram(state, host, window); });
        continue;
      }
      ++late;
      if (DatagramByte(state, kTypeByte) == static_cast<std::uint8_t>(MessageType::QsoLogged)) {
        DispatchDatagram(state, absent, window);
      }
    }
  };
  drain(ReceiveRetiredDatagram);
  drain(ReceiveDatagram);
  state.Notices.clear();
  CloseEndpoint(state);
}
