#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// JTDX's datagram format as far as the bridge and its tools share it. Every
// datagram starts with the magic, the schema number and the message type,
// each a big-endian u32.

inline constexpr std::array<std::uint8_t, 4> kDatagramMagic{0xAD, 0xBC, 0xCB, 0xDA};
inline constexpr std::size_t kHeaderSize = 12;

// The message types the bridge and its tools know, by JTDX's numbers.
enum class MessageType : std::uint8_t {
  Heartbeat = 0,
  Status = 1,
  Decode = 2,
  Clear = 3,
  QsoLogged = 5,
  Close = 6,
};
