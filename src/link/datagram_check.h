#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/bridge_state.h"

// Whether the current datagram is taken as one of JTDX's: its bytes before
// the first zero byte (the datagram's end counts as one) are not empty and
// end in 0xDA. In JTDX's format that is the magic's last byte, followed by
// the zero that starts the schema number.
bool IsAcceptedDatagram(const BridgeState& state);

// Magic, schema and type: what every message of JTDX's format starts with.
inline constexpr std::size_t kHeaderSize = 12;

// The magic number every datagram of JTDX's format starts with.
inline constexpr std::array<std::uint8_t, 4> kDatagramMagic{0xAD, 0xBC, 0xCB, 0xDA};

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
