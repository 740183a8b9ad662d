#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "core/udp_endpoint.h"

// The bridge's one UDP socket, bound to 127.0.0.1 on the endpoint's Port (1
// to 65535) and switched to non-blocking mode, so that no tick ever waits.
// With a Group it is shared instead: bound on all addresses with the other
// readers of that multicast group, joined to it on every interface that is
// up, and taking only what this machine's own programs send.

// The multicast group a text names ("239.255.0.1": four decimal parts, the
// first 224 to 239), or nothing.
[[nodiscard]] std::optional<std::uint32_t> ParseMulticastGroup(std::string_view text);

// Starts the platform's sockets (Winsock 2.2); false when they cannot start.
// Nothing to do on POSIX.
[[nodiscard]] bool StartSockets();
// Lets go of the platform's sockets again.
void StopSockets();

enum class EndpointStatus {
  Open,      // bound or not (Bound says), and non-blocking
  NoSocket,  // no socket could be made
  Blocking,  // the socket is open but would block
};

// Closes an endpoint that is still open, then: a new socket, BindAddress set
// to 127.0.0.1 and the port, the caller's own step, the port's lock and the
// bind (their outcome kept in Bound, PortReserved and LockedByAnother), the
// non-blocking switch.
//
// One Relvan per port: the lock (bridge/socket_ops.h) is taken just before
// each bind and held while that socket is bound; it goes with the socket
// (after Setup's move, once the old socket has been read empty) or with a
// bind that failed. A port whose lock another Relvan holds is not bound at
// all; a port whose lock this endpoint holds keeps it for a bind again.
[[nodiscard]] EndpointStatus OpenEndpoint(UdpEndpoint& endpoint, const std::function<void()>& caller_step);

// Moving the endpoint to another port (or binding its port again).
enum class PortChange {
  Moved,          // listening on the new port; the old socket is closed
  PortHeld,       // the new port could not be bound; the old endpoint is untouched
  PortReserved,   // the same, a port Windows keeps for itself or another holds exclusively
  AnotherRelvan,  // the same, another Relvan of this session holds the port's lock
  NoSocket,       // no socket could be made; the old endpoint is untouched
  Blocking,       // the new socket would block; it is closed, the old one untouched
};

// Binds a new socket on `port` first, and only once it listens there makes
// `port` the endpoint's Port: the bridge never stops listening because a port
// it was asked to move to is taken. A bound old socket is kept as
// RetiredSocket (retired at `now`), so that what was queued on it is still
// handled, until the ticks have read it empty or CloseRetiredSocket; an
// unbound one is closed. A socket an earlier move retired is handed to
// `finish_retired` first, which must see to what is queued on it and close
// it (without one it is closed), and so is one still bound to `port` itself.
[[nodiscard]] PortChange MoveEndpoint(UdpEndpoint& endpoint, int port, Clock::TimePoint now = {},
                                      const std::function<void()>& finish_retired = nullptr);

// One more try at binding Port, for an endpoint whose port was held (or
// locked by another Relvan) when it was opened; true when it listens now.
// LockedByAnother follows. Nothing happens to an endpoint that is bound or
// closed.
[[nodiscard]] bool RetryBind(UdpEndpoint& endpoint);

// Closes the socket, and the retired one; does nothing when they are closed
// already.
void CloseEndpoint(UdpEndpoint& endpoint);
void CloseRetiredSocket(UdpEndpoint& endpoint);

// Takes one waiting datagram, whole, into RecvBuffer and its sender into
// LastSender, without waiting. Returns false when none was taken (nothing
// waiting, endpoint closed or unbound). The second takes from the socket a
// move retired.
bool ReceiveDatagram(UdpEndpoint& endpoint);
bool ReceiveRetiredDatagram(UdpEndpoint& endpoint);

// Shared: reads the interfaces' addresses again and joins the group on
// each, silently, so that an interface that came up since (Wi-Fi, a VPN)
// is heard too. Nothing for an endpoint of its own.
void JoinGroupOnNewInterfaces(UdpEndpoint& endpoint, SocketHandle socket);

// Whether the last datagram's sender is this machine: always for an endpoint
// of its own; shared, when it is loopback, 0.0.0.0 (what the loopback
// interface may carry back) or an interface's address, read again at most
// once per kLocalIpsRereadInterval for a sender that is none of these.
// A datagram refused is counted in Refused.
inline constexpr std::chrono::seconds kLocalIpsRereadInterval{1};
bool SenderIsLocal(UdpEndpoint& endpoint, Clock::TimePoint now);

// Sends bytes to LastSender from the endpoint; false when they did not go,
// and nothing goes out before a datagram has come in.
[[nodiscard]] bool SendToPeer(const UdpEndpoint& endpoint, const std::uint8_t* data, std::size_t size);
