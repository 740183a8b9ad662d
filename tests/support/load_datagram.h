#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/bridge_state.h"

// Puts a datagram into the state as a receive would, with ReadPos at 0.
inline void LoadDatagram(BridgeState& state, const std::vector<std::uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), state.RecvBuffer.begin());
  state.RecvLength = bytes.size();
  state.ReadPos = 0;
}
