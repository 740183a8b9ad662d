#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/bridge_state.h"

// Readers of the big-endian fields of the current datagram, at ReadPos.
// Every byte at or past the datagram's end reads as 0, so a field that runs
// past the end yields zeros and never bytes of an earlier datagram. Each
// reader moves ReadPos past the whole field, as its width or length says.

std::uint8_t DatagramByte(const BridgeState& state, std::size_t pos);
void SkipBytes(BridgeState& state, std::size_t count);

std::uint32_t ReadU32(BridgeState& state);
std::uint64_t ReadU64(BridgeState& state);

// A string field: a u32 length N, then N bytes of UTF-8. The null string
// (0xFFFFFFFF) and every other length with its top bit set count as 0. The
// text ends at its first zero byte or at the datagram's end, whichever comes
// first. The view points into RecvBuffer: copy it before the next receive.
std::string_view ReadUtf8(BridgeState& state);
