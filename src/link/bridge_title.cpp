#include "link/bridge_title.h"

std::string BridgeTitle(const BridgeState& state) {
  std::string title = "Tolm<->JTDX UDP port = " + std::to_string(state.UdpPort);
  if (!state.EndpointBound) title += " (not listening)";
  return title;
}
