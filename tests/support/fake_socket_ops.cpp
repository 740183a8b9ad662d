#include "fake_socket_ops.h"

#include <algorithm>

namespace {

SocketHandle next_socket = 100;
PortLock next_lock = 1;

FakeSockets::Socket* Find(SocketHandle handle) {
  const auto socket = FakeSockets::Sockets.find(handle);
  return socket == FakeSockets::Sockets.end() ? nullptr : &socket->second;
}

BindResult BindTo(SocketHandle handle, std::uint16_t port) {
  if (FakeSockets::Bind != BindResult::Bound) return FakeSockets::Bind;
  if (FakeSockets::Socket* socket = Find(handle)) socket->Port = port;
  return BindResult::Bound;
}

}  // namespace

bool StartSocketLibrary() { return !FakeSockets::StartFails; }
void CleanupSocketLibrary() {}

SocketHandle CreateUdpSocket() {
  if (FakeSockets::CreateFails) return kInvalidSocket;
  ++FakeSockets::Open;
  FakeSockets::Sockets[next_socket] = {};
  return next_socket++;
}

BindResult BindSocket(SocketHandle socket, PeerAddress address) { return BindTo(socket, address.Port); }
BindResult BindShared(SocketHandle socket, std::uint16_t port) {
  ++FakeSockets::SharedBinds;
  return BindTo(socket, port);
}

PortLockResult TakePortLock(std::uint16_t port, PortLock& lock) {
  if (FakeSockets::LocksUnavailable) return PortLockResult::Unavailable;
  // Taking a lock this Relvan holds already would be a fault of the endpoint
  // (a second flock of the same file fails): it counts as another's.
  const auto held = std::find_if(FakeSockets::Locks.begin(), FakeSockets::Locks.end(),
                                 [&](const auto& entry) { return entry.second == port; });
  if (FakeSockets::LockedByAnother.count(port) != 0 || held != FakeSockets::Locks.end()) {
    return PortLockResult::HeldByAnother;
  }
  lock = next_lock++;
  FakeSockets::Locks[lock] = port;
  return PortLockResult::Taken;
}

void ReleasePortLock(PortLock lock) { FakeSockets::Locks.erase(lock); }

bool JoinGroup(SocketHandle, std::uint32_t, std::uint32_t interface_ip) {
  if (std::find(FakeSockets::Joined.begin(), FakeSockets::Joined.end(), interface_ip) != FakeSockets::Joined.end()) {
    return false;
  }
  FakeSockets::Joined.push_back(interface_ip);
  return true;
}

std::size_t InterfaceAddresses(std::uint32_t* out, std::size_t capacity) {
  ++FakeSockets::LocalIpReads;
  const std::size_t count = std::min(capacity, FakeSockets::LocalIps.size());
  std::copy_n(FakeSockets::LocalIps.begin(), count, out);
  return count;
}

bool MakeNonBlocking(SocketHandle) { return !FakeSockets::NonBlockingFails; }

void CloseSocket(SocketHandle socket) {
  --FakeSockets::Open;
  FakeSockets::Sockets.erase(socket);
}

std::optional<std::size_t> ReceiveFrom(SocketHandle handle, std::uint8_t* buffer, std::size_t capacity,
                                       PeerAddress& from) {
  if (FakeSockets::Clock != nullptr) {
    FakeSockets::Clock->Advance(FakeSockets::ReceiveCost);
  }
  FakeSockets::Socket* socket = Find(handle);
  if (socket == nullptr || socket->Queue.empty()) return std::nullopt;
  const FakeSockets::Datagram datagram = std::move(socket->Queue.front());
  socket->Queue.pop_front();
  const std::size_t size = std::min(datagram.Bytes.size(), capacity);
  std::copy_n(datagram.Bytes.begin(), size, buffer);
  from = datagram.From;
  return size;
}

std::optional<std::size_t> ReceiveFromTo(SocketHandle handle, std::uint8_t* buffer, std::size_t capacity,
                                         PeerAddress& from, std::uint32_t& to) {
  const FakeSockets::Socket* socket = Find(handle);
  if (socket != nullptr && !socket->Queue.empty()) to = socket->Queue.front().To;
  return ReceiveFrom(handle, buffer, capacity, from);
}

bool SendTo(SocketHandle, const std::uint8_t* data, std::size_t size, PeerAddress) {
  FakeSockets::Sent.emplace_back(data, data + size);
  return true;
}
