#include "bridge/poll_tick.h"

#include <cstdint>
#include <string>
#include <optional>
#include <utility>

#include "bridge/clean_text.h"
#include "bridge/endpoint.h"
#include "bridge/message_handlers.h"
#include "bridge/mode_macros.h"
#include "jtdx/messages.h"

namespace {

// Until a Status has named a mode, Heartbeats are answered with JTDX's magic
// alone, a reply JTDX drops without a word; afterwards they are not.
void HandleHeartbeat(std::span<const std::uint8_t> datagram, BridgeState& state) {
  if (state.Kept.NamedMode) return;
  const jtdx::HeartbeatReply reply = jtdx::MakeHeartbeatReply(datagram);
  // A reply that does not go is not worth a word: JTDX goes on without one.
  if (reply.Size > 0) (void)SendToPeer(state.Endpoint, reply.Bytes.data(), reply.Size);
}

// A host that has just attached learns what JTDX showed while it was away:
// the mode, the station, the report and the frequencies of the last Status,
// but no call or report of a contact that went to the unsaved file.
void SendKeptState(const KeptStatus& kept, HostLink& host) {
  if (const std::string_view macro = ModeMacro(kept.Mode); !macro.empty()) host.ExecMacro(macro);
  if (!kept.DxCallUnsaved) host.SetLogField(LogField::Call, kept.DxCall);
  if (!kept.ReportUnsaved) host.SetLogField(LogField::RptSent, kept.Report);
  if (kept.TxFrequency != 0) host.TxFrequency(static_cast<double>(kept.TxFrequency));
  if (kept.RxFrequency != 0) host.RxFrequency(static_cast<double>(kept.RxFrequency));
}

// Lets go of a host whose call failed and leaves it alone for a while. The
// operator hears of it once per outage, and not at all when the failure cut
// a contact off: that contact's own notice says so.
void LetGoOfHost(BridgeState& state, HostLink& host, const HostCallError& error) {
  host.DetachHost();
  if (!state.Health.CallFailed(error.what(), state.TickTime)) return;
  OperatorNotice notice;
  notice.What = OperatorNotice::Kind::HostStopped;
  notice.HostDetail = error.what();
  state.Told.Notices.push_back(std::move(notice));
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
  if (state.Health.Waiting(state.TickTime)) return;
  host.AttachHost();
  if (!host.IsAttached()) return;
  RunHostWork(state, host, [&] {
    // A failed save's texts leave Tolm's entry first, or they would ride on
    // the next contact.
    if (state.Health.EntryToEmpty) {
      EmptyLogEntry(host);
      state.Health.EntryToEmpty = false;
    }
    if (state.Kept.HasStatusForNewHost) SendKeptState(state.Kept, host);
  });
  if (host.IsAttached()) state.Health.Outage = false;
}

}  // namespace

void DispatchDatagram(std::span<const std::uint8_t> datagram, BridgeState& state, HostLink& host, MainWindow& window) {
  // Shared with the network, the endpoint may hear other machines' JTDX.
  if (!SenderIsLocal(state.Endpoint, state.TickTime)) return;
  const std::optional<MessageType> type = jtdx::MessageTypeOf(datagram);
  if (!type) return;
  state.Told.JtdxClosed = false;
  switch (*type) {
    case MessageType::Heartbeat: HandleHeartbeat(datagram, state); break;
    case MessageType::Status: HandleStatus(jtdx::DecodeStatus(datagram), state, host, window); break;
    case MessageType::Clear: HandleClear(host, window); break;
    case MessageType::QsoLogged:
      if (const auto qso = jtdx::DecodeQsoLogged(datagram)) HandleQsoLogged(*qso, datagram, state, host, window);
      break;
    case MessageType::Close:
      // JTDX has gone for now; the endpoint stays open for the JTDX that
      // starts next, and the fields keep what they show.
      state.Told.JtdxClosed = true;
      state.Told.JtdxClosedAt = state.TickTime;
      state.Told.ClosedSender = SenderName(jtdx::SenderId(datagram));
      break;
    case MessageType::Decode: break;
  }
}

void PollTick(BridgeState& state, HostLink& host, MainWindow& window, const Clock& clock) {
  window.StopPollTimer();
  state.TickTime = clock.Now();
  host.StartTickWork();

  if (!host.IsAttached()) TryToAttach(state, host);

  int taken = 0;
  const auto handle_all = [&](bool (*receive)(UdpEndpoint&)) {
    for (; taken < kMaxDatagramsPerTick && receive(state.Endpoint); ++taken) {
      RunHostWork(state, host, [&] { DispatchDatagram(state.Endpoint.Datagram(), state, host, window); });
    }
  };
  if (state.Endpoint.RetiredSocket != kInvalidSocket) {
    handle_all(ReceiveRetiredDatagram);
    CloseRetiredSocket(state.Endpoint);
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
  const auto drain = [&](bool (*receive)(UdpEndpoint&)) {
    while (late < kMaxDatagramsPerTick && receive(state.Endpoint)) {
      state.TickTime = clock.Now();
      const std::span<const std::uint8_t> datagram = state.Endpoint.Datagram();
      if (state.TickTime < deadline) {
        RunHostWork(state, host, [&] { DispatchDatagram(datagram, state, host, window); });
        continue;
      }
      ++late;
      if (jtdx::MessageTypeOf(datagram) == MessageType::QsoLogged) DispatchDatagram(datagram, state, absent, window);
    }
  };
  drain(ReceiveRetiredDatagram);
  drain(ReceiveDatagram);
  state.Told.Notices.clear();
  CloseEndpoint(state.Endpoint);
}
