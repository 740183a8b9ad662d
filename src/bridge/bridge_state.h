#pragma once
#include "bridge/host_session.h"
#include "bridge/station.h"
#include "bridge/unsaved_log.h"
#include "core/clock.h"
#include "core/operator_facts.h"
#include "core/recent_contacts.h"
#include "core/udp_endpoint.h"

// Everything the bridge keeps between ticks, in its parts. The program owns
// exactly one instance for its whole life (through the Bridge); tests make
// their own. Nothing of this lives in globals, so every test starts from a
// clean state.
struct BridgeState {
  UdpEndpoint Endpoint;
  Station Kept;
  RecentContacts Recent;
  HostSession Host;
  OperatorFacts Told;
  UnsavedLog Unsaved;

  Clock::TimePoint TickTime;      // when the tick running now started
  Clock::TimePoint UpkeepDoneAt;  // when the unsaved file was last counted and the port last tried
};
