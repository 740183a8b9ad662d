#include "bridge/bridge.h"

#include <utility>

#include "bridge/poll_tick.h"

Bridge::Bridge(Net& net, HostLink& host, const Clock& clock)
    : state_(std::make_unique<BridgeState>(net)), net_(net), host_(host), clock_(clock) {}

Bridge::StartResult Bridge::Start(const SettingsFolder& settings, int port, bool settings_unreadable,
                                  std::string_view udp_group, const std::function<void()>& before_bind) {
  settings_unreadable_ = settings_unreadable;
  const std::optional<std::uint32_t> group = ParseMulticastGroup(udp_group);
  state_->Endpoint.SetGroup(group.value_or(0));
  udp_group_invalid_ = !group && !udp_group.empty();
  state_->Unsaved.Use(settings.UnsavedContactsPath(), settings.Writable());
  // With no socket yet, the first upkeep only counts.
  RunUpkeep(*state_, host_, clock_.Now());

  if (!net_.StartSocketLibrary()) return StartResult::SocketsDidNotStart;
  host_.AttachHost();
  switch (state_->Endpoint.Open(port, before_bind)) {
    case EndpointStatus::Open: return StartResult::Listening;
    case EndpointStatus::NoSocket: return StartResult::NoSocket;
    case EndpointStatus::Blocking: return StartResult::Blocking;
  }
  return StartResult::NoSocket;
}

void Bridge::Tick(MainWindow& window) {
  PollTick(*state_, host_, window, clock_);
  RunUpkeep(*state_, host_, state_->TickTime);
}

PortChange Bridge::MovePort(int port) {
  return state_->Endpoint.Move(port, clock_.Now(), [this] { KeepRetiredContactsAndClose(*state_, clock_); });
}

void Bridge::ShutDown() { DrainAndCloseEndpoint(*state_, host_, clock_); }

BridgeFacts Bridge::Facts() const {
  const BridgeState& state = *state_;
  const Endpoint& endpoint = state.Endpoint;
  BridgeFacts facts;
  facts.Now = state.TickTime;
  facts.Port = endpoint.Port();
  facts.Bound = endpoint.Bound();
  facts.PortReserved = endpoint.PortReserved();
  facts.LockedByAnother = endpoint.LockedByAnother();
  facts.Group = endpoint.Group();
  facts.Refused = endpoint.Refused();
  facts.SettingsUnreadable = settings_unreadable_;
  facts.UdpGroupInvalid = udp_group_invalid_;
  facts.UnsavedTakesContacts = state.Unsaved.TakesContacts();
  facts.UnsavedWaiting = state.Unsaved.Waiting();
  facts.NotSentToGroup = endpoint.NotSentToGroup();
  facts.NotToGroupSender = endpoint.NotToGroupSender();
  facts.HostOutage = state.Host.Outage();
  facts.HostAttached = host_.IsAttached();
  facts.JtdxClosed = state.Kept.SenderIsClosed();
  facts.JtdxClosedAt = state.Kept.ClosedAt();
  facts.ClosedSender = state.Kept.ClosedSender();
  facts.LastSavedCall = state.Host.LastSavedCall();
  facts.LastSavedAt = state.Host.LastSavedAt();
  facts.SavedCount = state.Host.SavedCount();
  return facts;
}

std::deque<OperatorNotice> Bridge::TakeNotices() { return std::exchange(state_->Notices, {}); }
