#include "link/datagram_check.h"

#include <algorithm>

#include "link/field_readers.h"

bool IsAcceptedDatagram(const BridgeState& state) {
  const auto begin = state.RecvBuffer.begin();
  const auto end = begin + static_cast<std::ptrdiff_t>(state.RecvLength);
  const auto zero = std::find(begin, end, std::uint8_t{0});
  return zero != begin && *(zero - 1) == 0xDA;
}

HeartbeatReply MakeHeartbeatReply(const BridgeState& state) {
  HeartbeatReply reply;
  // A datagram without a whole header is no Heartbeat from JTDX; our own
  // four-byte reply is such a datagram, and must never be answered.
  const std::size_t size = kDatagramMagic.size();
  if (state.RecvLength < kHeaderSize || DatagramByte(state, size) != 0) return reply;
  if (!std::equal(kDatagramMagic.begin(), kDatagramMagic.end(), state.RecvBuffer.begin())) return reply;
  std::copy_n(state.RecvBuffer.begin(), size, reply.Bytes.begin());
  reply.Size = size;
  return reply;
}
