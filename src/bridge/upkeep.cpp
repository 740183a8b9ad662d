#include "bridge/upkeep.h"

#include "bridge/endpoint.h"
#include "bridge/unsaved_contacts.h"

void RunUpkeep(BridgeState& state, HostLink& host, Clock::TimePoint now) {
  if (now - state.UpkeepDoneAt < kUpkeepInterval && now >= state.UpkeepDoneAt) return;
  state.UpkeepDoneAt = now;
  // A Tolm that quit while nothing was sent to it: the status line says it is
  // not running, and no contact waits for a failed call to find out.
  if (host.IsAttached() && !state.Health.Waiting(now) && !host.StillThere()) host.DetachHost();
  RecountUnsavedContacts(state.Told);
  state.Endpoint.Upkeep();
}
