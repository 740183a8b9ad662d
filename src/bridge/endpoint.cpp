#include "bridge/endpoint.h"

#include <algorithm>

#include "bridge/clean_text.h"
#include "jtdx/messages.h"

std::optional<std::uint32_t> ParseMulticastGroup(std::string_view text) {
  const std::optional<std::uint32_t> ip = ParseIpv4(text);
  if (!ip || *ip >> 28 != 0xE) return std::nullopt;
  return ip;
}

PeerAddress Endpoint::BindAddressOf(int port) const {
  return {group_ != 0 ? 0u : kLoopbackIp, static_cast<std::uint16_t>(port)};
}

// Shared, the endpoint reads the interfaces' addresses at once and joins the
// group on each.
BindResult Endpoint::Bind(SocketHandle socket, PeerAddress address) {
  if (group_ == 0) return net_.BindSocket(socket, address);
  const BindResult bind = net_.BindShared(socket, address.Port);
  if (bind == BindResult::Bound) JoinGroupOnNewInterfaces(socket);
  return bind;
}

// Takes the port's lock into `lock` (or keeps the one this endpoint holds
// for it), then binds; a lock taken here is let go again when the bind
// fails, so that a Relvan waiting for a port another program holds holds no
// lock.
Endpoint::BindOutcome Endpoint::LockAndBind(SocketHandle socket, PeerAddress address, PortLock& lock) {
  bool taken_here = false;
  lock = kNoPortLock;
  if (port_lock_ != kNoPortLock && address.Port == static_cast<std::uint16_t>(port_)) {
    lock = port_lock_;
  } else {
    switch (net_.TakePortLock(address.Port, lock)) {
      case PortLockResult::Taken: taken_here = true; break;
      case PortLockResult::HeldByAnother: return BindOutcome::LockedByAnother;
      case PortLockResult::Unavailable: lock = kNoPortLock; break;  // bound as if no Relvan could lock
    }
  }
  const BindResult bind = Bind(socket, address);
  if (bind == BindResult::Bound) return BindOutcome::Bound;
  if (taken_here) net_.ReleasePortLock(lock);
  lock = kNoPortLock;
  return bind == BindResult::Reserved ? BindOutcome::Reserved : BindOutcome::Held;
}

void Endpoint::ReadLocalIps() { local_ip_count_ = net_.InterfaceAddresses(local_ips_.data(), local_ips_.size()); }

bool Endpoint::IsLocal(std::uint32_t ip) const {
  const auto end = local_ips_.begin() + static_cast<std::ptrdiff_t>(local_ip_count_);
  return std::find(local_ips_.begin(), end, ip) != end;
}

void Endpoint::JoinGroupOnNewInterfaces(SocketHandle socket) {
  if (group_ == 0 || socket == kInvalidSocket) return;
  ReadLocalIps();
  // Loopback always, where JTDX on this machine may send: not every system
  // lists it among the interfaces. A join of an interface joined before
  // fails, as does one the interface cannot take: neither is worth a word.
  (void)net_.JoinGroup(socket, group_, kLoopbackIp);
  for (std::size_t i = 0; i < local_ip_count_; ++i) (void)net_.JoinGroup(socket, group_, local_ips_[i]);
}

bool Endpoint::SenderIsLocal(Clock::TimePoint now) {
  if (group_ == 0) return true;
  const std::uint32_t ip = last_sender_.Ip;
  if (ip >> 24 == 127 || ip == 0 || IsLocal(ip)) return true;
  // A sender not known may be an address this machine took since: looked
  // up again, at most once a second (and at once after the clock was set
  // back).
  if (!WithinSpan(now, local_ips_read_at_, kLocalIpsRereadInterval)) {
    local_ips_read_at_ = now;
    ReadLocalIps();
    if (IsLocal(ip)) return true;
  }
  ++refused_;
  return false;
}

void Endpoint::NoteSharedDestination(std::span<const std::uint8_t> datagram) {
  // Where the packet information was missing or cut, it is taken as the group's.
  if (last_destination_ == 0 || last_destination_ == group_) {
    not_sent_to_group_ = false;
    return;
  }
  if (not_sent_to_group_) return;
  not_sent_to_group_ = true;
  not_to_group_sender_ = SenderName(jtdx::SenderId(datagram));
}

EndpointStatus Endpoint::Open(int port, const std::function<void()>& caller_step) {
  // Never two sockets at once: a second one could not bind the same port.
  Close();
  port_ = port;
  socket_ = net_.CreateUdpSocket();
  if (socket_ == kInvalidSocket) return EndpointStatus::NoSocket;
  last_sender_ = {};
  if (caller_step) caller_step();
  PortLock lock = kNoPortLock;
  const BindOutcome bind = LockAndBind(socket_, BindAddressOf(port_), lock);
  port_lock_ = lock;
  bound_ = bind == BindOutcome::Bound;
  port_reserved_ = bind == BindOutcome::Reserved;
  locked_by_another_ = bind == BindOutcome::LockedByAnother;
  return net_.MakeNonBlocking(socket_) ? EndpointStatus::Open : EndpointStatus::Blocking;
}

PortChange Endpoint::Move(int port, Clock::TimePoint now, const std::function<void()>& finish_retired) {
  const auto finish = [&] {
    if (finish_retired && retired_socket_ != kInvalidSocket) finish_retired();
    CloseRetired();
  };
  // Back to the port an earlier move left: its socket would hold the bind off.
  if (retired_socket_ != kInvalidSocket && port == retired_port_) finish();
  const SocketHandle socket = net_.CreateUdpSocket();
  if (socket == kInvalidSocket) return PortChange::NoSocket;
  const PeerAddress address = BindAddressOf(port);
  PortLock lock = kNoPortLock;
  switch (LockAndBind(socket, address, lock)) {
    case BindOutcome::Bound: break;
    case BindOutcome::Held: net_.CloseSocket(socket); return PortChange::PortHeld;
    case BindOutcome::Reserved: net_.CloseSocket(socket); return PortChange::PortReserved;
    case BindOutcome::LockedByAnother: net_.CloseSocket(socket); return PortChange::AnotherRelvan;
  }
  // Bound again on the port whose lock the endpoint holds already.
  const bool kept_own = lock != kNoPortLock && lock == port_lock_;
  if (!net_.MakeNonBlocking(socket)) {
    net_.CloseSocket(socket);
    if (!kept_own) net_.ReleasePortLock(lock);
    return PortChange::Blocking;
  }
  // What JTDX sent to the old port before the move is still handled: the
  // ticks take it before they close the old socket. Only one is kept: an
  // older one is seen to its end now.
  finish();
  if (bound_ && !kept_own) {
    retired_socket_ = socket_;
    retired_port_ = port_;
    retired_port_lock_ = port_lock_;
    retired_at_ = now;
  } else if (socket_ != kInvalidSocket) {
    net_.CloseSocket(socket_);
  }
  socket_ = socket;
  port_lock_ = lock;
  locked_by_another_ = false;
  port_ = port;
  last_sender_ = {};
  bound_ = true;
  port_reserved_ = false;
  return PortChange::Moved;
}

bool Endpoint::RetryBind() {
  if (bound_ || socket_ == kInvalidSocket) return false;
  const PortChange change = Move(port_);
  // The status line says who holds the port now: the other Relvan may have
  // ended and left it to another program.
  if (change != PortChange::Moved) locked_by_another_ = change == PortChange::AnotherRelvan;
  return change == PortChange::Moved;
}

void Endpoint::Upkeep() {
  // The status line follows: "Listening on port N" once it binds.
  (void)RetryBind();
  if (bound_) JoinGroupOnNewInterfaces(socket_);
}

void Endpoint::Close() {
  CloseRetired();
  if (socket_ == kInvalidSocket) return;
  net_.CloseSocket(socket_);
  socket_ = kInvalidSocket;
  bound_ = false;
  net_.ReleasePortLock(port_lock_);
  port_lock_ = kNoPortLock;
}

void Endpoint::CloseRetired() {
  if (retired_socket_ == kInvalidSocket) return;
  net_.CloseSocket(retired_socket_);
  retired_socket_ = kInvalidSocket;
  net_.ReleasePortLock(retired_port_lock_);
  retired_port_lock_ = kNoPortLock;
}

bool Endpoint::ReceiveInto(SocketHandle socket) {
  if (socket == kInvalidSocket) return false;
  PeerAddress sender;
  // Only shared does a datagram's destination matter: alone, the socket is
  // bound to 127.0.0.1, and the plain receive is the cheaper.
  const auto length =
      group_ == 0 ? net_.ReceiveFrom(socket, recv_buffer_.data(), recv_buffer_.size(), sender)
                  : net_.ReceiveFromTo(socket, recv_buffer_.data(), recv_buffer_.size(), sender, last_destination_);
  if (!length) return false;
  recv_length_ = *length;
  last_sender_ = sender;
  return true;
}

bool Endpoint::Receive() { return ReceiveInto(socket_); }

bool Endpoint::ReceiveRetired() { return ReceiveInto(retired_socket_); }

void Endpoint::ReplyToHeartbeat(std::span<const std::uint8_t> datagram) const {
  const jtdx::HeartbeatReply reply = jtdx::MakeHeartbeatReply(datagram);
  if (reply.Size > 0) (void)SendToPeer(reply.Bytes.data(), reply.Size);
}

bool Endpoint::SendToPeer(const std::uint8_t* data, std::size_t size) const {
  if (socket_ == kInvalidSocket || last_sender_.Port == 0) return false;
  return net_.SendTo(socket_, data, size, last_sender_);
}
