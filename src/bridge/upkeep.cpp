#include "bridge/upkeep.h"

#include "bridge/endpoint.h"

void RunUpkeep(BridgeState& state, HostLink& host, Clock::TimePoint now) {
  if (WithinSpan(now, state.UpkeepDoneAt, kUpkeepInterval)) return;
  state.UpkeepDoneAt = now;
  // A Tolm that quit while nothing was sent to it: the status line says it is
  // not running, and no contact waits for a failed call to find out.
  state.Host.LetGoIfGone(host, now);
  state.Unsaved.Recount();
  state.Endpoint.Upkeep();
}
