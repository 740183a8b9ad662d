#include "link/upkeep.h"

#include "adif/adif_file.h"
#include "link/endpoint.h"

void RunUpkeep(BridgeState& state, Clock::TimePoint now) {
  if (now - state.UpkeepDoneAt < kUpkeepInterval && now >= state.UpkeepDoneAt) return;
  state.UpkeepDoneAt = now;
  state.UnsavedWaiting = CountAdifRecords(state.UnsavedContactsPath);
  // The status line follows: "Listening on port N" once it binds.
  (void)RetryBind(state);
}
