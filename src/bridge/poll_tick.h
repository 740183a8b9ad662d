#pragma once
#include <chrono>
#include <cstdint>
#include <span>

#include "core/bridge_state.h"
#include "core/clock.h"
#include "core/main_window.h"
#include "host/host_link.h"

// The most datagrams one tick takes: a few milliseconds of work at most, so
// the window stays responsive under a burst; the rest wait for the next tick.
inline constexpr int kMaxDatagramsPerTick = 1024;

// One tick of the main window's 100 ms poll timer. With the timer stopped, it
// attaches to the host while detached (and brings a host that has just
// attached up to date with the last Status), then takes every datagram
// waiting, up to
// kMaxDatagramsPerTick, in arrival order, and acts on each once: first what
// was left on the socket a move of the endpoint retired (which it then
// closes), then the endpoint's own. A tick with
// nothing new calls nothing, and every tick re-arms the timer.
//
// Nothing stops the intake. A failing host call ends only the host work of
// the datagram (or of the resend on attach) it belongs to: the tick lets go
// of the host, waits kReattachDelay before the next attach, and goes on with
// the next datagram, whose contacts then go to the unsaved-contacts file.
// What the operator must hear of is queued in state.Told.Notices for the
// window to show: one HostStopped per outage of Tolm, one ContactNotSaved per
// contact that did not reach it. JTDX's Close is remembered in JtdxClosed
// until the next datagram; the endpoint stays open for the next JTDX.
void PollTick(BridgeState& state, HostLink& host, MainWindow& window, const Clock& clock);

// How long the end of the program waits on Tolm for what is still queued.
inline constexpr std::chrono::seconds kDrainTime{1};

// The end of the program, however it ends: what is queued on the endpoint
// is handled as a tick would, for kDrainTime (a call under way is not cut);
// after that each QSO Logged left goes to the unsaved-contacts file without
// a host call, and every other datagram is dropped. No box follows: the
// notices are dropped, and the next start's status line tells of the
// contacts waiting. Then the endpoint is closed. The main dialog's fields
// are not touched: its window may be gone.
void DrainAndCloseEndpoint(BridgeState& state, HostLink& host, const Clock& clock);

// Decodes a datagram once and hands the message to its handler; a datagram
// that is none of JTDX's is ignored. A failing host call throws
// HostCallError out of it.
void DispatchDatagram(std::span<const std::uint8_t> datagram, BridgeState& state, HostLink& host, MainWindow& window);
