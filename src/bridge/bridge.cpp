#include "bridge/bridge.h"

#include "bridge/poll_tick.h"
#include "bridge/upkeep.h"
#include "settings/settings_file.h"

Bridge::Bridge(Net& net, HostLink& host, const Clock& clock)
    : state_(std::make_unique<BridgeState>(net)), net_(net), host_(host), clock_(clock) {}

Bridge::StartResult Bridge::Start(int port, bool settings_unreadable, std::string_view udp_group,
                                  const std::function<void()>& before_bind) {
  OperatorFacts& told = state_->Told;
  told.SettingsUnreadable = settings_unreadable;
  const std::optional<std::uint32_t> group = ParseMulticastGroup(udp_group);
  state_->Endpoint.SetGroup(group.value_or(0));
  told.UdpGroupInvalid = !group && !udp_group.empty();
  told.UnsavedContactsPath = UnsavedContactsPath();
  told.SettingsWritable = SettingsFolderWritable();
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
