#pragma once
#include "core/bridge_state.h"
#include "core/main_window.h"
#include "host/host_link.h"

// The most datagrams one tick takes: a few milliseconds of work at most, so
// the window stays responsive under a burst; the rest wait for the next tick.
inline constexpr int kMaxDatagramsPerTick = 1024;

// One tick of the main window's 100 ms poll timer. With the timer stopped, it
// attaches to the host while detached (and brings a host that has just
// attached up to date with the last Status), writes the title when what it
// says has changed, then takes every datagram waiting, up to
// kMaxDatagramsPerTick, in arrival order, and acts on each once. The timer
// is re-armed at the end, except after a Close, which also closes the
// endpoint for good. A tick with nothing new calls nothing. A failing host
// call, or a contact that cannot be saved, throws HostCallError out of the
// tick at that point with the timer stopped; the datagrams not yet taken
// wait in the socket for the next tick.
void PollTick(BridgeState& state, HostLink& host, MainWindow& window);

// Tests the datagram just received and hands it to its handler. False after
// a Close, which has closed the endpoint.
bool DispatchDatagram(BridgeState& state, HostLink& host, MainWindow& window);
