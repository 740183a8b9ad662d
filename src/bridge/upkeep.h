#pragma once
#include <chrono>

#include "bridge/bridge_state.h"
#include "core/clock.h"
#include "host/host_link.h"

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
