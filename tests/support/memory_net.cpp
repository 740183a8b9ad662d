#include "memory_net.h"

#include <algorithm>
#include <utility>

void MemoryNet::Arrive(int port, const std::vector<std::uint8_t>& bytes) {
  for (auto& [handle, socket] : Sockets) {
    if (socket.Port != 0 && socket.Port == port) socket.Queue.push_back({bytes, Sender, Destination});
  }
}

std::size_t MemoryNet::Queued(SocketHandle handle) const {
  const auto socket = Sockets.find(handle);
  return socket == Sockets.end() ? 0 : socket->second.Queue.size();
}

BindResult MemoryNet::BindTo(SocketHandle handle, std::uint16_t port) {
  if (Bind != BindResult::Bound) return Bind;
  if (const auto socket = Sockets.find(handle); socket != Sockets.end()) socket->second.Port = port;
  return BindResult::Bound;
}

SocketHandle MemoryNet::CreateUdpSocket() {
  if (CreateFails) return kInvalidSocket;
  ++Open;
  Sockets[next_socket_] = {};
  return next_socket_++;
}

BindResult MemoryNet::BindShared(SocketHandle socket, std::uint16_t port) {
  ++SharedBinds;
  return BindTo(socket, port);
}

PortLockResult MemoryNet::TakePortLock(std::uint16_t port, PortLock& lock) {
  if (LocksUnavailable) return PortLockResult::Unavailable;
  // Taking a lock this Relvan holds already would be a fault of the endpoint
  // (a second flock of the same file fails): it counts as another's.
  const auto held = std::find_if(Locks.begin(), Locks.end(), [&](const auto& entry) { return entry.second == port; });
  if (LockedByAnother.count(port) != 0 || held != Locks.end()) return PortLockResult::HeldByAnother;
  lock = next_lock_++;
  Locks[lock] = port;
  return PortLockResult::Taken;
}

bool MemoryNet::JoinGroup(SocketHandle, std::uint32_t, std::uint32_t interface_ip) {
  if (std::find(Joined.begin(), Joined.end(), interface_ip) != Joined.end()) return false;
  Joined.push_back(interface_ip);
  return true;
}

std::size_t MemoryNet::InterfaceAddresses(std::uint32_t* out, std::size_t capacity) {
  ++LocalIpReads;
  const std::size_t count = std::min(capacity, LocalIps.size());
  std::copy_n(LocalIps.begin(), count, out);
  return count;
}

void MemoryNet::CloseSocket(SocketHandle socket) {
  --Open;
  Sockets.erase(socket);
}

std::optional<std::size_t> MemoryNet::ReceiveFrom(SocketHandle handle, std::uint8_t* buffer, std::size_t capacity,
                                                  PeerAddress& from) {
  if (Clock != nullptr) Clock->Advance(ReceiveCost);
  const auto socket = Sockets.find(handle);
  if (socket == Sockets.end() || socket->second.Queue.empty()) return std::nullopt;
  const Datagram datagram = std::move(socket->second.Queue.front());
  socket->second.Queue.pop_front();
  const std::size_t size = std::min(datagram.Bytes.size(), capacity);
  std::copy_n(datagram.Bytes.begin(), size, buffer);
  from = datagram.From;
  return size;
}

std::optional<std::size_t> MemoryNet::ReceiveFromTo(SocketHandle handle, std::uint8_t* buffer, std::size_t capacity,
                                                    PeerAddress& from, std::uint32_t& to) {
  const auto socket = Sockets.find(handle);
  if (socket != Sockets.end() && !socket->second.Queue.empty()) to = socket->second.Queue.front().To;
  return ReceiveFrom(handle, buffer, capacity, from);
}

bool MemoryNet::SendTo(SocketHandle, const std::uint8_t* data, std::size_t size, PeerAddress) {
  Sent.emplace_back(data, data + size);
  return true;
}
