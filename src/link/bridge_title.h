#pragma once
#include <string>

#include "core/bridge_state.h"

// The main window's title: the port the bridge listens on, and a warning when
// the last bind did not take that port.
std::string BridgeTitle(const BridgeState& state);
