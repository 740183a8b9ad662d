#pragma once
#include "bridge/endpoint.h"
#include "bridge/net.h"
#include "core/clock.h"
#include "core/host_health.h"
#include "core/kept_status.h"
#include "core/operator_facts.h"
#include "core/recent_contacts.h"

// Everything the bridge keeps between ticks, in its parts. The program owns
// exactly one instance for its whole life (through the Bridge); tests make
// their own. Nothing of this lives in globals, so every test starts from a
// clean state.
struct BridgeState {
  explicit BridgeState(Net& net) : Endpoint(net) {}

  ::Endpoint Endpoint;
  KeptStatus Kept;
  RecentContacts Recent;
  HostHealth Health;
  OperatorFacts Told;

  Clock::TimePoint TickTime;      // when the tick running now started
  Clock::TimePoint UpkeepDoneAt;  // when the unsaved file was last counted and the port last tried
};
