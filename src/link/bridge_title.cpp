#include "link/bridge_title.h"

std::string BridgeTitle(const BridgeState& state) { return "Tolm<->JTDX UDP port = " + std::to_string(state.UdpPort); }
