#pragma once
#include <string>

#include "core/bridge_state.h"

// The main window's title: the port the bridge listens on, a warning when the
// last bind did not take that port, and one while no host is attached.
std::string BridgeTitle(const BridgeState& state, bool host_attached);
