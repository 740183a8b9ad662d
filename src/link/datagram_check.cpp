#include "link/datagram_check.h"

#include <algorithm>

#include "link/field_readers.h"

bool IsAcceptedDatagram(const BridgeState& state) {
  return state.RecvLength >= kHeaderSize &&
         std::equal(kDatagramMagic.begin(), kDatagramMagic.end(), state.RecvBuffer.begin());
}

HeartbeatReply MakeHeartbeatReply(const BridgeState& state) {
  HeartbeatReply reply;
  // A datagram without a whole header is no Heartbeat from JTDX; our own
  // four-byte reply is such a datagram, and must never be answered.
  const std::size_t size = kDatagramMagic.size();
  if (!IsAcceptedDatagram(state) || DatagramByte(state, size) != 0) return reply;
  std::copy_n(state.RecvBuffer.begin(), size, reply.Bytes.begin());
  reply.Size = size;
  return reply;
}
