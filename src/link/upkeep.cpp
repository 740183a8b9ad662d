#include "link/upkeep.h"

#include "link/endpoint.h"
#include "link/unsaved_contacts.h"

void RunUpkeep(BridgeState& state, Clock::TimePoint now) {
  if (now - state.UpkeepDoneAt < kUpkeepInterval && now >= state.UpkeepDoneAt) return;
  state.UpkeepDoneAt = now;
  RecountUnsavedContacts(state);
  // The status line follows: "Listening on port N" once it binds.
  (void)RetryBind(state);
}
