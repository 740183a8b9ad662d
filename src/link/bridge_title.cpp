#include "link/bridge_title.h"

std::string BridgeTitle(const BridgeState& state, bool host_attached) {
  std::string title = "Tolm<->JTDX UDP port = " + std::to_string(state.UdpPort);
  if (!state.EndpointBound) title += " (not listening)";
  if (!host_attached) title += " (Tolm not found)";
  return title;
}
