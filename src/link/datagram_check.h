#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/bridge_state.h"
#include "link/jtdx_format.h"

// Whether the current datagram is taken as one of JTDX's: it starts with the
// whole magic and holds the whole header. Anything else is ignored.
bool IsAcceptedDatagram(const BridgeState& state);

// The reply to an early Heartbeat: JTDX's magic alone, which JTDX drops
// silently. It goes only to a datagram with a whole header that starts with
// the magic and a schema number whose first byte is zero: JTDX answers a
// datagram shorter than the magic, without it, or with a schema number above
// 3 with a modal "Network Error" dialog in front of the operator. Size 0
// means no reply.
struct HeartbeatReply {
  std::array<std::uint8_t, kDatagramMagic.size()> Bytes{};
  std::size_t Size = 0;
};
HeartbeatReply MakeHeartbeatReply(const BridgeState& state);
