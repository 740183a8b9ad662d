#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The fuzz target's input: one control byte, then datagrams, each behind a
// big-endian u16 length (the last one may be cut short).
//   bits 0-1 of the control byte: ticks with nothing new after each datagram
//   bit 2: the host starts detached
//   bits 3-7: host calls that succeed before every call fails, times 3
//             (0: none fails)
struct TickFuzzInput {
  int TicksPerDatagram = 1;
  bool StartDetached = false;
  int FailAfter = -1;
  std::vector<std::vector<std::uint8_t>> Datagrams;
};

inline TickFuzzInput DecodeTickFuzzInput(const std::uint8_t* data, std::size_t size) {
  TickFuzzInput input;
  if (size == 0) return input;
  input.TicksPerDatagram = (data[0] & 0x03) + 1;
  input.StartDetached = (data[0] & 0x04) != 0;
  input.FailAfter = (data[0] >> 3) == 0 ? -1 : (data[0] >> 3) * 3;
  std::size_t pos = 1;
  while (pos + 2 <= size) {  // room for a length at least
    std::size_t length = (std::size_t{data[pos]} << 8) | data[pos + 1];
    pos += 2;
    const std::size_t available = size - pos;
    if (length > available) length = available;
    input.Datagrams.emplace_back(data + pos, data + pos + length);
    pos += length;
  }
  return input;
}

inline std::vector<std::uint8_t> EncodeTickFuzzInput(std::uint8_t control,
                                                     const std::vector<std::vector<std::uint8_t>>& datagrams) {
  std::vector<std::uint8_t> bytes{control};
  for (const auto& datagram : datagrams) {
    bytes.push_back(static_cast<std::uint8_t>(datagram.size() >> 8));
    bytes.push_back(static_cast<std::uint8_t>(datagram.size()));
    bytes.insert(bytes.end(), datagram.begin(), datagram.end());
  }
  return bytes;
}
