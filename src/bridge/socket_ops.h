#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/udp_endpoint.h"

// The few socket operations the endpoint needs, one file per platform
// (socket_ops-posix.cpp, socket_ops-win32.cpp). Addresses are IPv4 in host
// byte order. None of them blocks on a non-blocking socket.

bool StartSocketLibrary();    // Winsock 2.2; true on POSIX
void CleanupSocketLibrary();  // WSACleanup; nothing on POSIX

// A UDP socket that asks for a receive queue of kReceiveBufferBytes, so that
// a burst of datagrams between two ticks is not dropped; where the system
// grants less, it keeps what it grants. kInvalidSocket on failure.
SocketHandle CreateUdpSocket();
inline constexpr int kReceiveBufferBytes = 4 * 1024 * 1024;
// Why a bind took the port or not. Reserved is Windows' own refusal of a port
// it keeps for itself or one another program holds exclusively
// (WSAEACCES); POSIX reports every refusal as Held.
enum class BindResult { Bound, Held, Reserved };
// Binds for this socket alone: on Windows with SO_EXCLUSIVEADDRUSE, so that
// no other program can bind the same port with SO_REUSEADDR and take JTDX's
// datagrams; on POSIX no reuse option is set, which is exclusive already.
BindResult BindSocket(SocketHandle socket, PeerAddress address);
// Binds the port on all addresses, shared with the other readers of a
// multicast group (SO_REUSEADDR; on Linux IP_MULTICAST_ALL off, so that only
// the groups joined arrive), asking for each datagram's destination
// (IP_PKTINFO). Held when a program holds the port without sharing it.
BindResult BindShared(SocketHandle socket, std::uint16_t port);
// One Relvan per port in a user's session: a lock taken just before the
// bind and held while bound. On Windows a named mutex in the session's
// namespace ("Local\Relvan UDP port 2237"; one abandoned by a Relvan that
// died is taken); on POSIX an flock of a file per port beside the
// substitute host's socket ("$XDG_RUNTIME_DIR/relvan-2237.lock", or
// "/tmp/relvan-<uid>-2237.lock"). Unavailable where no lock can be made at
// all (the folder missing): the bind goes ahead without one.
using PortLock = std::intptr_t;
inline constexpr PortLock kNoPortLock = -1;
enum class PortLockResult { Taken, HeldByAnother, Unavailable };
PortLockResult TakePortLock(std::uint16_t port, PortLock& lock);
void ReleasePortLock(PortLock lock);

// Joins `group` on the interface with address `interface_ip`; false when it
// did not (already joined, or the interface cannot).
bool JoinGroup(SocketHandle socket, std::uint32_t group, std::uint32_t interface_ip);
// The IPv4 addresses of the interfaces that are up, loopback included, at
// most `capacity` of them into `out`; how many were written.
std::size_t InterfaceAddresses(std::uint32_t* out, std::size_t capacity);
bool MakeNonBlocking(SocketHandle socket);
void CloseSocket(SocketHandle socket);

// One datagram into buffer; its length, or nothing when none was taken.
std::optional<std::size_t> ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                       PeerAddress& from);
// The same on a shared socket (BindShared asks for the packet information),
// with the address the datagram was sent to in `to` (recvmsg with
// IP_PKTINFO; WSARecvMsg on Windows); `to` is 0 where that information is
// missing or cut.
std::optional<std::size_t> ReceiveFromTo(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                         PeerAddress& from, std::uint32_t& to);
bool SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t size, PeerAddress to);

inline constexpr std::uint32_t kLoopbackIp = 0x7F000001;  // 127.0.0.1
