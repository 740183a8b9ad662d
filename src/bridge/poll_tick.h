#pragma once
#include <chrono>
#include <cstdint>
#include <span>

#include "bridge/bridge_state.h"
#include "core/clock.h"
#include "core/main_window.h"
#include "host/host_link.h"

// How long one tick takes datagrams: the window stays responsive under a
// burst, and the rest wait for the next tick. The time, not a count, bounds
// it, so that a flood of datagrams refused at little cost each cannot keep
// this machine's own waiting until the socket's queue overflows.
inline constexpr std::chrono::milliseconds kTickIntakeTime{50};

// One tick of the main window's 100 ms poll timer. With the timer stopped, it
// attaches to the host while detached (and brings a host that has just
// attached up to date with the last Status), then, for at most
// kTickIntakeTime from there, takes the datagrams waiting, in arrival order,
// and acts on each once: first what is left on the socket a move of the
// endpoint retired (which it closes once a receive finds it empty), then
// the endpoint's own. kRetiredServedFor (bridge/endpoint.h) after the move
// the retired socket is read empty at once: its QSO Logged go to the
// unsaved-contacts file without a host call, the rest is dropped, and it is
// closed. A tick with nothing new calls nothing, and every tick re-arms the
// timer.
//
// Nothing stops the intake. A failing host call ends only the host work of
// the datagram (or of the resend on attach) it belongs to: the tick lets go
// of the host, waits kReattachDelay before the next attach, and goes on with
// the next datagram, whose contacts then go to the unsaved-contacts file.
// What the operator must hear of is queued in state.Notices for the
// window to show: one HostStopped per outage of Tolm, one ContactNotSaved per
// contact that did not reach it. JTDX's Close is remembered by the station
// until the next datagram; the endpoint stays open for the next JTDX.
void PollTick(BridgeState& state, HostLink& host, MainWindow& window, const Clock& clock);

// How long the end of the program waits on Tolm for what is still queued,
// and then how long it goes on reading the sockets empty without Tolm.
inline constexpr std::chrono::seconds kDrainTime{1};
inline constexpr std::chrono::seconds kLateDrainTime{1};

// The end of the program, however it ends: what is queued on the endpoint
// is handled as a tick would, for kDrainTime, and the host's calls are
// given up at that deadline (HostLink::LimitCalls), the call under way
// included. After it the sockets are read until they are empty, for
// kLateDrainTime at most: each QSO Logged goes to the unsaved-contacts file
// without a host call, every other datagram is dropped. Then the endpoint is
// closed. The notices of the contacts are left in state.Notices for the
// front end to show as the program ends; those of Tolm's outages, which
// promise an attach that will not come, are dropped. The main dialog's
// fields are not touched: its window may be gone.
void DrainAndCloseEndpoint(BridgeState& state, HostLink& host, const Clock& clock);

// What a retired socket still holds, seen to its end without Tolm: each QSO
// Logged to the unsaved-contacts file, the rest dropped, read for at most
// kLateDrainTime; then the socket is closed. For a second move of the
// endpoint while the first one's socket is still read.
void KeepRetiredContactsAndClose(BridgeState& state, const Clock& clock);

// Decodes a datagram once and hands the message to its handler; a datagram
// that is none of JTDX's is ignored. A failing host call throws
// HostCallError out of it.
void DispatchDatagram(std::span<const std::uint8_t> datagram, BridgeState& state, HostLink& host, MainWindow& window);

// How often the bridge looks again at what changes outside it.
inline constexpr std::chrono::seconds kUpkeepInterval{3};

// The bridge's slower duties, done at most once per kUpkeepInterval (and at
// once after the clock was set back): the unsaved-contacts file is looked at
// again (UnsavedLog::Recount); the endpoint does its share
// (Endpoint::Upkeep: a port that was held when it opened is tried again,
// without a word, until it binds, and a shared endpoint joins its group on
// the interfaces that came up since); and a host attached,
// with no call failed lately, is let go of, without a word, once it has
// gone (HostLink::StillThere), so that the next tick attaches again. The
// Bridge runs it after each tick; the first call at start-up only counts,
// the endpoint being opened after it.
void RunUpkeep(BridgeState& state, HostLink& host, Clock::TimePoint now);
