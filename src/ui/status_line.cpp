#include "ui/status_line.h"

#include <chrono>

#include "core/udp_address.h"

namespace texts {

std::string StatusLine(const BridgeFacts& facts) {
  if (!facts.Bound) {
    if (facts.LockedByAnother) return AnotherRelvanStatus(facts.Port);
    return PortHeldStatus(facts.Port, facts.PortReserved);
  }
  if (!facts.UnsavedTakesContacts) return kSettingsFolderStatus;
  if (facts.SettingsUnreadable) return SettingsUnreadableStatus(facts.Port);
  if (facts.UdpGroupInvalid) return UdpGroupInvalidStatus();
  if (facts.NotSentToGroup) return NotSentToGroupStatus(facts.NotToGroupSender);
  if (facts.UnsavedWaiting > 0) return WaitingStatus(facts.UnsavedWaiting);
  if (facts.HostOutage) return kHostNotAnsweringStatus;
  if (!facts.HostAttached) return kHostNotRunningStatus;
  if (facts.JtdxClosed) return ClosedStatus(facts.ClosedSender, facts.JtdxClosedAt);
  if (facts.SavedCount > 0) {
    // The count is of the UTC day of the last save; once that day is over it
    // says nothing true.
    using std::chrono::days;
    const bool same_day = std::chrono::floor<days>(facts.Now) == std::chrono::floor<days>(facts.LastSavedAt);
    return SavedStatus(facts.LastSavedCall, facts.LastSavedAt, same_day ? facts.SavedCount : 0);
  }
  if (facts.Group != 0) return SharedListeningStatus(FormatIpv4(facts.Group), facts.Port, facts.Refused);
  return ListeningStatus(facts.Port);
}

}  // namespace texts
