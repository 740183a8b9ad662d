#pragma once
#include <string>

#include "core/bridge_state.h"

// The main window's title: the port the bridge listens on. What else the
// operator must know goes to the status line under the buttons.
std::string BridgeTitle(const BridgeState& state);
