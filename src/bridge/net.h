#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/udp_address.h"

// A socket as both platforms hand it out: a Winsock SOCKET (an unsigned
// pointer-sized value whose invalid value is all ones) or a POSIX descriptor
// (invalid is -1). Both fit a signed pointer-sized integer with -1 invalid.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kInvalidSocket = -1;

// The largest datagram UDP can carry; every datagram is received whole.
inline constexpr std::size_t kMaxDatagram = 65536;

// A UDP socket asks for a receive queue of this size, so that a burst of
// datagrams between two ticks is not dropped; where the system grants less,
// it keeps what it grants.
inline constexpr int kReceiveBufferBytes = 4 * 1024 * 1024;

// Why a bind took the port or not. Reserved is Windows' own refusal of a port
// it keeps for itself or one another program holds exclusively
// (WSAEACCES); POSIX reports every refusal as Held.
enum class BindResult { Bound, Held, Reserved };

// The lock of a port among this user's Relvans, while it is held.
using PortLock = std::intptr_t;
inline constexpr PortLock kNoPortLock = -1;
enum class PortLockResult { Taken, HeldByAnother, Unavailable };

// The few socket operations the endpoint needs, handed to the bridge: the
// system's (SystemNet, one source per platform) in the program, sockets of
// memory in tests. Addresses are IPv4 in host byte order. None of them
// blocks on a non-blocking socket.
class Net {
 public:
  virtual ~Net() = default;

  // Winsock 2.2 and WSACleanup; true and nothing on POSIX.
  [[nodiscard]] virtual bool StartSocketLibrary() = 0;
  virtual void CleanupSocketLibrary() = 0;

  // A UDP socket with a receive queue of kReceiveBufferBytes asked for;
  // kInvalidSocket on failure.
  [[nodiscard]] virtual SocketHandle CreateUdpSocket() = 0;
  // Binds for this socket alone: on Windows with SO_EXCLUSIVEADDRUSE, so that
  // no other program can bind the same port with SO_REUSEADDR and take JTDX's
  // datagrams; on POSIX no reuse option is set, which is exclusive already.
  [[nodiscard]] virtual BindResult BindSocket(SocketHandle socket, PeerAddress address) = 0;
  // Binds the port on all addresses, shared with the other readers of a
  // multicast group (SO_REUSEADDR; on Linux IP_MULTICAST_ALL off, so that
  // only the groups joined arrive), asking for each datagram's destination
  // (IP_PKTINFO). Held when a program holds the port without sharing it.
  [[nodiscard]] virtual BindResult BindShared(SocketHandle socket, std::uint16_t port) = 0;

  // One Relvan per port in a user's session: a lock taken just before the
  // bind and held while bound. On Windows a named mutex in the session's
  // namespace ("Local\Relvan UDP port 2237"; one abandoned by a Relvan that
  // died is taken); on POSIX an flock of a file per port beside the
  // substitute host's socket ("$XDG_RUNTIME_DIR/relvan-2237.lock", or
  // "/tmp/relvan-<uid>-2237.lock"). Unavailable where no lock can be made at
  // all (the folder missing): the bind goes ahead without one.
  [[nodiscard]] virtual PortLockResult TakePortLock(std::uint16_t port, PortLock& lock) = 0;
  virtual void ReleasePortLock(PortLock lock) = 0;

  // Joins `group` on the interface with address `interface_ip`; false when
  // it did not (already joined, or the interface cannot).
  [[nodiscard]] virtual bool JoinGroup(SocketHandle socket, std::uint32_t group, std::uint32_t interface_ip) = 0;
  // The IPv4 addresses of the interfaces that are up, loopback included, at
  // most `capacity` of them into `out`; how many were written.
  [[nodiscard]] virtual std::size_t InterfaceAddresses(std::uint32_t* out, std::size_t capacity) = 0;
  [[nodiscard]] virtual bool MakeNonBlocking(SocketHandle socket) = 0;
  virtual void CloseSocket(SocketHandle socket) = 0;

  // One datagram into buffer; its length, or nothing when none was taken.
  [[nodiscard]] virtual std::optional<std::size_t> ReceiveFrom(SocketHandle socket, std::uint8_t* buffer,
                                                               std::size_t capacity, PeerAddress& from) = 0;
  // The same on a shared socket (BindShared asks for the packet
  // information), with the address the datagram was sent to in `to` (recvmsg
  // with IP_PKTINFO; WSARecvMsg on Windows); `to` is 0 where that
  // information is missing or cut.
  [[nodiscard]] virtual std::optional<std::size_t> ReceiveFromTo(SocketHandle socket, std::uint8_t* buffer,
                                                                 std::size_t capacity, PeerAddress& from,
                                                                 std::uint32_t& to) = 0;
  [[nodiscard]] virtual bool SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t size,
                                    PeerAddress to) = 0;
};

// The system's sockets: Winsock on Windows (net-win32.cpp), BSD sockets on
// POSIX (net-posix.cpp). It keeps nothing of its own.
class SystemNet final : public Net {
 public:
  bool StartSocketLibrary() override;
  void CleanupSocketLibrary() override;
  SocketHandle CreateUdpSocket() override;
  BindResult BindSocket(SocketHandle socket, PeerAddress address) override;
  BindResult BindShared(SocketHandle socket, std::uint16_t port) override;
  PortLockResult TakePortLock(std::uint16_t port, PortLock& lock) override;
  void ReleasePortLock(PortLock lock) override;
  bool JoinGroup(SocketHandle socket, std::uint32_t group, std::uint32_t interface_ip) override;
  std::size_t InterfaceAddresses(std::uint32_t* out, std::size_t capacity) override;
  bool MakeNonBlocking(SocketHandle socket) override;
  void CloseSocket(SocketHandle socket) override;
  std::optional<std::size_t> ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                         PeerAddress& from) override;
  std::optional<std::size_t> ReceiveFromTo(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                           PeerAddress& from, std::uint32_t& to) override;
  bool SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t size, PeerAddress to) override;
};
