#include "bridge/poll_tick.h"

#include <cstdint>
#include <string>
#include <optional>
#include <utility>

#include "bridge/clean_text.h"
#include "bridge/endpoint.h"
#include "bridge/message_handlers.h"
#include "host/host_macros.h"
#include "jtdx/messages.h"

namespace {

// Until a Status has named a mode, Heartbeats are answered with JTDX's magic
// alone, a reply JTDX drops without a word; afterwards they are not.
void HandleHeartbeat(std::span<const std::uint8_t> datagram, BridgeState& state) {
  if (!state.Kept.NamedMode()) state.Endpoint.ReplyToHeartbeat(datagram);
}

// Runs one piece of host work; a failure ends that piece alone.
template <typename Work>
void RunHostWork(BridgeState& state, HostLink& host, Work work) {
  state.Host.Run(host, state.TickTime, state.Notices, work);
}

}  // namespace

void DispatchDatagram(std::span<const std::uint8_t> datagram, BridgeState& state, HostLink& host, MainWindow& window) {
  // Shared with the network, the endpoint may hear other machines' JTDX.
  if (!state.Endpoint.SenderIsLocal(state.TickTime)) return;
  const std::optional<MessageType> type = jtdx::MessageTypeOf(datagram);
  if (!type) return;
  state.Endpoint.NoteDestination(datagram);
  state.Kept.SenderHeard();
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
      state.Kept.SenderClosed(SenderName(jtdx::SenderId(datagram)), state.TickTime);
      break;
    case MessageType::Decode: break;
  }
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

// The main dialog's stand-in where its window is not to be touched, or may
// be gone.
class UnseenWindow : public MainWindow {
 public:
  DisplayFields& Fields() override { return fields_; }
  void PushFields() override {}
  void StartPollTimer() override {}
  void StopPollTimer() override {}

 private:
  DisplayFields fields_;
};

using Receive = bool (Endpoint::*)();

// A datagram handled without Tolm: a QSO Logged goes to the unsaved file,
// the rest is dropped.
void KeepIfContact(BridgeState& state, MainWindow& window) {
  const std::span<const std::uint8_t> datagram = state.Endpoint.Datagram();
  if (jtdx::MessageTypeOf(datagram) != MessageType::QsoLogged) return;
  AbsentHost absent;
  DispatchDatagram(datagram, state, absent, window);
}

// Reads a socket empty without Tolm, for `span` at most.
void KeepContactsUntilEmpty(BridgeState& state, Receive receive, MainWindow& window, const Clock& clock,
                            Clock::TimePoint::duration span) {
  const Clock::TimePoint start = clock.Now();
  while (WithinSpan(clock.Now(), start, span) && (state.Endpoint.*receive)()) {
    state.TickTime = clock.Now();
    KeepIfContact(state, window);
  }
}

}  // namespace

void PollTick(BridgeState& state, HostLink& host, MainWindow& window, const Clock& clock) {
  window.StopPollTimer();
  state.TickTime = clock.Now();
  host.StartTickWork();

  if (!host.IsAttached()) {
    state.Host.Attach(host, state.TickTime, state.Notices, [&] { state.Kept.BringUpToDate(host); });
  }

  // The intake's time is counted from here, so that a slow attach cannot
  // leave a tick nothing; the old socket and the new share it.
  const Clock::TimePoint start = clock.Now();
  const auto intake_open = [&] { return WithinSpan(clock.Now(), start, kTickIntakeTime); };
  // True when the socket was found empty.
  const auto handle_all = [&](Receive receive) {
    while (intake_open()) {
      if (!(state.Endpoint.*receive)()) return true;
      RunHostWork(state, host, [&] { DispatchDatagram(state.Endpoint.Datagram(), state, host, window); });
    }
    return false;
  };
  if (state.Endpoint.HasRetired()) {
    if (!state.Endpoint.ServesRetired(state.TickTime)) {
      KeepRetiredContactsAndClose(state, clock);
    } else if (handle_all(&Endpoint::ReceiveRetired)) {
      state.Endpoint.CloseRetired();
    }
  }
  handle_all(&Endpoint::Receive);

  window.StartPollTimer();
}

void KeepRetiredContactsAndClose(BridgeState& state, const Clock& clock) {
  UnseenWindow window;
  KeepContactsUntilEmpty(state, &Endpoint::ReceiveRetired, window, clock, kLateDrainTime);
  state.Endpoint.CloseRetired();
}

void DrainAndCloseEndpoint(BridgeState& state, HostLink& host, const Clock& clock) {
  UnseenWindow window;
  host.StartTickWork();
  const Clock::TimePoint start = clock.Now();
  host.LimitCalls(kDrainTime);
  for (const Receive receive : {&Endpoint::ReceiveRetired, &Endpoint::Receive}) {
    while (WithinSpan(clock.Now(), start, kDrainTime) && (state.Endpoint.*receive)()) {
      state.TickTime = clock.Now();
      RunHostWork(state, host, [&] { DispatchDatagram(state.Endpoint.Datagram(), state, host, window); });
    }
  }
  // Past the deadline, Tolm is not asked again; only a sender that never
  // stops can leave anything behind.
  const Clock::TimePoint late_start = clock.Now();
  for (const Receive receive : {&Endpoint::ReceiveRetired, &Endpoint::Receive}) {
    const Clock::TimePoint::duration left = late_start + kLateDrainTime - clock.Now();
    KeepContactsUntilEmpty(state, receive, window, clock, left);
  }
  std::erase_if(state.Notices,
                [](const OperatorNotice& notice) { return notice.What == OperatorNotice::Kind::HostStopped; });
  state.Endpoint.Close();
}

void RunUpkeep(BridgeState& state, HostLink& host, Clock::TimePoint now) {
  if (WithinSpan(now, state.UpkeepDoneAt, kUpkeepInterval)) return;
  state.UpkeepDoneAt = now;
  // A Tolm that quit while nothing was sent to it: the status line says it is
  // not running, and no contact waits for a failed call to find out.
  state.Host.LetGoIfGone(host, now);
  state.Unsaved.Recount();
  state.Endpoint.Upkeep();
}
