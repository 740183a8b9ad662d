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
bool MakeNonBlocking(SocketHandle socket);
void CloseSocket(SocketHandle socket);

// One datagram into buffer; its length, or nothing when none was taken.
std::optional<std::size_t> ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                       PeerAddress& from);
bool SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t size, PeerAddress to);

inline constexpr std::uint32_t kLoopbackIp = 0x7F000001;  // 127.0.0.1
