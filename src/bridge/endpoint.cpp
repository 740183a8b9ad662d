#include "bridge/endpoint.h"

#include <algorithm>
#include <charconv>

#include "bridge/socket_ops.h"

bool StartSockets() { return StartSocketLibrary(); }
void StopSockets() { CleanupSocketLibrary(); }

namespace {

PeerAddress BindAddressOf(const UdpEndpoint& endpoint, int port) {
  return {endpoint.Group != 0 ? 0u : kLoopbackIp, static_cast<std::uint16_t>(port)};
}

// Shared, the endpoint reads the interfaces' addresses at once and joins the
// group on each.
BindResult Bind(UdpEndpoint& endpoint, SocketHandle socket, PeerAddress address) {
  if (endpoint.Group == 0) return BindSocket(socket, address);
  const BindResult bind = BindShared(socket, address.Port);
  if (bind == BindResult::Bound) JoinGroupOnNewInterfaces(endpoint, socket);
  return bind;
}

enum class BindOutcome { Bound, Held, Reserved, LockedByAnother };

// Takes the port's lock into `lock` (or keeps the one this endpoint holds
// for it), then binds; a lock taken here is let go again when the bind
// fails, so that a Relvan waiting for a port another program holds holds no
// lock.
BindOutcome LockAndBind(UdpEndpoint& endpoint, SocketHandle socket, PeerAddress address, PortLock& lock) {
  bool taken_here = false;
  lock = kNoPortLock;
  if (endpoint.PortLock != kNoPortLock && address.Port == static_cast<std::uint16_t>(endpoint.Port)) {
    lock = endpoint.PortLock;
  } else {
    switch (TakePortLock(address.Port, lock)) {
      case PortLockResult::Taken: taken_here = true; break;
      case PortLockResult::HeldByAnother: return BindOutcome::LockedByAnother;
      case PortLockResult::Unavailable: lock = kNoPortLock; break;  // bound as if no Relvan could lock
    }
  }
  const BindResult bind = Bind(endpoint, socket, address);
  if (bind == BindResult::Bound) return BindOutcome::Bound;
  if (taken_here) ReleasePortLock(lock);
  lock = kNoPortLock;
  return bind == BindResult::Reserved ? BindOutcome::Reserved : BindOutcome::Held;
}

void ReadLocalIps(UdpEndpoint& endpoint) {
  endpoint.LocalIpCount = InterfaceAddresses(endpoint.LocalIps.data(), endpoint.LocalIps.size());
}

bool IsLocal(const UdpEndpoint& endpoint, std::uint32_t ip) {
  const auto end = endpoint.LocalIps.begin() + static_cast<std::ptrdiff_t>(endpoint.LocalIpCount);
  return std::find(endpoint.LocalIps.begin(), end, ip) != end;
}

}  // namespace

std::optional<std::uint32_t> ParseMulticastGroup(std::string_view text) {
  std::uint32_t ip = 0;
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && (at == end || *at++ != '.')) return std::nullopt;
    unsigned value = 0;
    const auto [next, error] = std::from_chars(at, end, value);
    if (error != std::errc{} || next == at || next - at > 3 || value > 255) return std::nullopt;
    ip = ip << 8 | value;
    at = next;
  }
  if (at != end || ip >> 28 != 0xE) return std::nullopt;
  return ip;
}

void JoinGroupOnNewInterfaces(UdpEndpoint& endpoint, SocketHandle socket) {
  if (endpoint.Group == 0 || socket == kInvalidSocket) return;
  ReadLocalIps(endpoint);
  // Loopback always, where JTDX on this machine may send: not every system
  // lists it among the interfaces. A join of an interface joined before
  // fails, as does one the interface cannot take: neither is worth a word.
  (void)JoinGroup(socket, endpoint.Group, kLoopbackIp);
  for (std::size_t i = 0; i < endpoint.LocalIpCount; ++i) (void)JoinGroup(socket, endpoint.Group, endpoint.LocalIps[i]);
}

bool SenderIsLocal(UdpEndpoint& endpoint, Clock::TimePoint now) {
  if (endpoint.Group == 0) return true;
  const std::uint32_t ip = endpoint.LastSender.Ip;
  if (ip >> 24 == 127 || ip == 0 || IsLocal(endpoint, ip)) return true;
  // A sender not known may be an address this machine took since: looked
  // up again, at most once a second (and at once after the clock was set
  // back).
  if (now - endpoint.LocalIpsReadAt >= kLocalIpsRereadInterval || now < endpoint.LocalIpsReadAt) {
    endpoint.LocalIpsReadAt = now;
    ReadLocalIps(endpoint);
    if (IsLocal(endpoint, ip)) return true;
  }
  ++endpoint.Refused;
  return false;
}

EndpointStatus OpenEndpoint(UdpEndpoint& endpoint, const std::function<void()>& caller_step) {
  // Never two sockets at once: a second one could not bind the same port.
  CloseEndpoint(endpoint);
  endpoint.Socket = CreateUdpSocket();
  if (endpoint.Socket == kInvalidSocket) return EndpointStatus::NoSocket;
  endpoint.BindAddress = BindAddressOf(endpoint, endpoint.Port);
  endpoint.LastSender = {};
  if (caller_step) caller_step();
  PortLock lock = kNoPortLock;
  const BindOutcome bind = LockAndBind(endpoint, endpoint.Socket, endpoint.BindAddress, lock);
  endpoint.PortLock = lock;
  endpoint.Bound = bind == BindOutcome::Bound;
  endpoint.PortReserved = bind == BindOutcome::Reserved;
  endpoint.LockedByAnother = bind == BindOutcome::LockedByAnother;
  return MakeNonBlocking(endpoint.Socket) ? EndpointStatus::Open : EndpointStatus::Blocking;
}

PortChange MoveEndpoint(UdpEndpoint& endpoint, int port, Clock::TimePoint now,
                        const std::function<void()>& finish_retired) {
  const auto finish = [&] {
    if (finish_retired && endpoint.RetiredSocket != kInvalidSocket) finish_retired();
    CloseRetiredSocket(endpoint);
  };
  // Back to the port an earlier move left: its socket would hold the bind off.
  if (endpoint.RetiredSocket != kInvalidSocket && port == endpoint.RetiredPort) finish();
  const SocketHandle socket = CreateUdpSocket();
  if (socket == kInvalidSocket) return PortChange::NoSocket;
  const PeerAddress address = BindAddressOf(endpoint, port);
  PortLock lock = kNoPortLock;
  switch (LockAndBind(endpoint, socket, address, lock)) {
    case BindOutcome::Bound: break;
    case BindOutcome::Held: CloseSocket(socket); return PortChange::PortHeld;
    case BindOutcome::Reserved: CloseSocket(socket); return PortChange::PortReserved;
    case BindOutcome::LockedByAnother: CloseSocket(socket); return PortChange::AnotherRelvan;
  }
  // Bound again on the port whose lock the endpoint holds already.
  const bool kept_own = lock != kNoPortLock && lock == endpoint.PortLock;
  if (!MakeNonBlocking(socket)) {
    CloseSocket(socket);
    if (!kept_own) ReleasePortLock(lock);
    return PortChange::Blocking;
  }
  // What JTDX sent to the old port before the move is still handled: the
  // ticks take it before they close the old socket. Only one is kept: an
  // older one is seen to its end now.
  finish();
  if (endpoint.Bound && !kept_own) {
    endpoint.RetiredSocket = endpoint.Socket;
    endpoint.RetiredPort = endpoint.Port;
    endpoint.RetiredPortLock = endpoint.PortLock;
    endpoint.RetiredAt = now;
  } else if (endpoint.Socket != kInvalidSocket) {
    CloseSocket(endpoint.Socket);
  }
  endpoint.Socket = socket;
  endpoint.PortLock = lock;
  endpoint.LockedByAnother = false;
  endpoint.Port = port;
  endpoint.BindAddress = address;
  endpoint.LastSender = {};
  endpoint.Bound = true;
  endpoint.PortReserved = false;
  return PortChange::Moved;
}

bool RetryBind(UdpEndpoint& endpoint) {
  if (endpoint.Bound || endpoint.Socket == kInvalidSocket) return false;
  const PortChange change = MoveEndpoint(endpoint, endpoint.Port);
  // The status line says who holds the port now: the other Relvan may have
  // ended and left it to another program.
  if (change != PortChange::Moved) endpoint.LockedByAnother = change == PortChange::AnotherRelvan;
  return change == PortChange::Moved;
}

void CloseEndpoint(UdpEndpoint& endpoint) {
  CloseRetiredSocket(endpoint);
  if (endpoint.Socket == kInvalidSocket) return;
  CloseSocket(endpoint.Socket);
  endpoint.Socket = kInvalidSocket;
  endpoint.Bound = false;
  ReleasePortLock(endpoint.PortLock);
  endpoint.PortLock = kNoPortLock;
}

void CloseRetiredSocket(UdpEndpoint& endpoint) {
  if (endpoint.RetiredSocket == kInvalidSocket) return;
  CloseSocket(endpoint.RetiredSocket);
  endpoint.RetiredSocket = kInvalidSocket;
  ReleasePortLock(endpoint.RetiredPortLock);
  endpoint.RetiredPortLock = kNoPortLock;
}

namespace {

bool ReceiveInto(UdpEndpoint& endpoint, SocketHandle socket) {
  if (socket == kInvalidSocket) return false;
  PeerAddress sender;
  // Only shared does a datagram's destination matter: alone, the socket is
  // bound to 127.0.0.1, and the plain receive is the cheaper.
  const auto length = endpoint.Group == 0
                          ? ReceiveFrom(socket, endpoint.RecvBuffer.data(), endpoint.RecvBuffer.size(), sender)
                          : ReceiveFromTo(socket, endpoint.RecvBuffer.data(), endpoint.RecvBuffer.size(), sender,
                                          endpoint.LastDestination);
  if (!length) return false;
  endpoint.RecvLength = *length;
  endpoint.LastSender = sender;
  return true;
}

}  // namespace

bool ReceiveDatagram(UdpEndpoint& endpoint) { return ReceiveInto(endpoint, endpoint.Socket); }

bool ReceiveRetiredDatagram(UdpEndpoint& endpoint) { return ReceiveInto(endpoint, endpoint.RetiredSocket); }

bool SendToPeer(const UdpEndpoint& endpoint, const std::uint8_t* data, std::size_t size) {
  if (endpoint.Socket == kInvalidSocket || endpoint.LastSender.Port == 0) return false;
  return SendTo(endpoint.Socket, data, size, endpoint.LastSender);
}
