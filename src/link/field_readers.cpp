#include "link/field_readers.h"

#include <algorithm>
#include <cstring>
#include <limits>

std::uint8_t DatagramByte(const BridgeState& state, std::size_t pos) {
  return pos < state.RecvLength ? state.RecvBuffer[pos] : 0;
}

void SkipBytes(BridgeState& state, std::size_t count) {
  const std::size_t room = std::numeric_limits<std::size_t>::max() - state.ReadPos;
  state.ReadPos += std::min(count, room);
}

std::uint32_t ReadU32(BridgeState& state) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | DatagramByte(state, state.ReadPos + i);
  SkipBytes(state, 4);
  return value;
}

std::uint64_t ReadU64(BridgeState& state) {
  const std::uint64_t high = ReadU32(state);
  return (high << 32) | ReadU32(state);
}

std::string_view ReadUtf8(BridgeState& state) {
  std::uint32_t length = ReadU32(state);
  if (length & 0x80000000u) length = 0;
  const std::size_t start = state.ReadPos;
  SkipBytes(state, length);
  if (start >= state.RecvLength) return {};
  const char* text = reinterpret_cast<const char*>(state.RecvBuffer.data() + start);
  const std::size_t available = std::min<std::size_t>(length, state.RecvLength - start);
  const void* zero = std::memchr(text, 0, available);
  return {text, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : available};
}
