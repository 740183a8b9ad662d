#include "bridge/upkeep.h"

#include "bridge/endpoint.h"
#include "bridge/unsaved_contacts.h"

void RunUpkeep(BridgeState& state, Clock::TimePoint now) {
  if (now - state.UpkeepDoneAt < kUpkeepInterval && now >= state.UpkeepDoneAt) return;
  state.UpkeepDoneAt = now;
  RecountUnsavedContacts(state.Told);
  // The status line follows: "Listening on port N" once it binds.
  (void)RetryBind(state.Endpoint);
  if (state.Endpoint.Bound) JoinGroupOnNewInterfaces(state.Endpoint, state.Endpoint.Socket);
}
