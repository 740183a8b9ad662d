#include "ui/status_line.h"

#include <chrono>
#include <cstdint>

namespace texts {

namespace {

std::string Dotted(std::uint32_t ip) {
  return std::to_string(ip >> 24) + "." + std::to_string(ip >> 16 & 0xFF) + "." + std::to_string(ip >> 8 & 0xFF) + "." +
         std::to_string(ip & 0xFF);
}

}  // namespace

std::string StatusLine(const BridgeState& state, bool host_attached) {
  const UdpEndpoint& endpoint = state.Endpoint;
  const OperatorFacts& told = state.Told;
  if (!endpoint.Bound) {
    if (endpoint.LockedByAnother) return AnotherRelvanStatus(endpoint.Port);
    return PortHeldStatus(endpoint.Port, endpoint.PortReserved);
  }
  if (!told.SettingsWritable) return kSettingsFolderStatus;
  if (told.SettingsUnreadable) return SettingsUnreadableStatus(endpoint.Port);
  if (told.UdpGroupInvalid) return UdpGroupInvalidStatus();
  if (told.NotSentToGroup) return NotSentToGroupStatus(told.NotToGroupSender);
  if (told.UnsavedWaiting > 0) return WaitingStatus(told.UnsavedWaiting);
  if (state.Health.Outage) return kHostNotAnsweringStatus;
  if (!host_attached) return kHostNotRunningStatus;
  if (told.JtdxClosed) return ClosedStatus(told.ClosedSender, told.JtdxClosedAt);
  if (told.SavedCount > 0) {
    // The count is of the UTC day of the last save; once that day is over it
    // says nothing true.
    using std::chrono::days;
    const bool same_day = std::chrono::floor<days>(state.TickTime) == std::chrono::floor<days>(told.LastSavedAt);
    return SavedStatus(told.LastSavedCall, told.LastSavedAt, same_day ? told.SavedCount : 0);
  }
  if (endpoint.Group != 0) return SharedListeningStatus(Dotted(endpoint.Group), endpoint.Port, endpoint.Refused);
  return ListeningStatus(endpoint.Port);
}

}  // namespace texts
