#pragma once
#include <deque>

#include "bridge/endpoint.h"
#include "bridge/host_session.h"
#include "bridge/net.h"
#include "bridge/operator_notice.h"
#include "bridge/recent_contacts.h"
#include "bridge/station.h"
#include "bridge/unsaved_log.h"
#include "core/clock.h"

// Everything the bridge keeps between ticks, in its parts. The program owns
// exactly one instance for its whole life (through the Bridge); tests make
// their own. Nothing of this lives in globals, so every test starts from a
// clean state.
struct BridgeState {
  explicit BridgeState(Net& net) : Endpoint(net) {}

  ::Endpoint Endpoint;
  Station Kept;
  RecentContacts Recent;
  HostSession Host;
  UnsavedLog Unsaved;
  // What the window has still to tell the operator, oldest first.
  std::deque<OperatorNotice> Notices;

  Clock::TimePoint TickTime;      // when the tick running now started
  Clock::TimePoint UpkeepDoneAt;  // when the unsaved file was last counted and the port last tried
};
