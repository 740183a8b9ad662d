#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/clock.h"
#include "core/socket_handle.h"

// An IPv4 address and port in host byte order.
struct PeerAddress {
  std::uint32_t Ip = 0;
  std::uint16_t Port = 0;
};

// The largest datagram UDP can carry; every datagram is received whole.
inline constexpr std::size_t kMaxDatagram = 65536;

// The bridge's UDP endpoint: its socket and port, whether the port was
// taken, where the last datagram came from, and that datagram. The
// functions that change it are in bridge/endpoint.h.
struct UdpEndpoint {
  SocketHandle Socket = kInvalidSocket;
  int Port = 2237;
  bool Bound = false;         // whether the last bind took the port
  bool PortReserved = false;  // the last bind was refused for a port Windows reserves
  // The lock of the port among this user's Relvans (bridge/socket_ops.h),
  // held while bound; and whether the last bind was not tried because
  // another Relvan holds it.
  std::intptr_t PortLock = -1;
  bool LockedByAnother = false;
  // The socket a move of the endpoint left, read until it is empty, and when
  // the move was made: a sender that keeps sending there is cut off a while
  // later.
  SocketHandle RetiredSocket = kInvalidSocket;
  int RetiredPort = 0;
  std::intptr_t RetiredPortLock = -1;
  Clock::TimePoint RetiredAt;
  PeerAddress BindAddress;  // 127.0.0.1 and the port; 0.0.0.0 and the port when shared
  PeerAddress LastSender;   // where the last datagram came from; Heartbeats are answered there

  // Shared with the other readers of this multicast group (0: the endpoint
  // is the bridge's alone). Set once at start-up.
  std::uint32_t Group = 0;
  // This machine's interface addresses as last read, and when they were read
  // for a sender that was not among them. While shared, only datagrams from
  // these, loopback and 0.0.0.0 are taken; the others are counted in Refused.
  static constexpr std::size_t kMaxLocalIps = 64;
  std::array<std::uint32_t, kMaxLocalIps> LocalIps{};
  std::size_t LocalIpCount = 0;
  Clock::TimePoint LocalIpsReadAt;
  std::uint64_t Refused = 0;  // since the program started
  // Shared: where the last datagram was sent (0: not known, taken as the group).
  std::uint32_t LastDestination = 0;

  // The last datagram a receive took, whole.
  std::array<std::uint8_t, kMaxDatagram> RecvBuffer{};
  std::size_t RecvLength = 0;

  std::span<const std::uint8_t> Datagram() const { return {RecvBuffer.data(), RecvLength}; }
};
