#pragma once
#include "core/bridge_state.h"
#include "core/main_window.h"
#include "host/host_link.h"

// One tick of the main window's 100 ms poll timer: refreshes the title after
// a port change, attaches to the host while detached, takes at most one
// datagram without waiting and dispatches the current datagram by its type.
// The timer is stopped while the tick runs and re-armed at its end, except
// after a Close, which also closes the endpoint for good. A failing host
// call throws HostCallError out of the tick at that call, with the timer
// left stopped; the caller shows the error and never restarts it.
void PollTick(BridgeState& state, HostLink& host, MainWindow& window);
