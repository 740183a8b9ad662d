#include "fake_socket_ops.h"

#include <algorithm>

namespace {
SocketHandle next_socket = 100;
}

bool StartSocketLibrary() { return !FakeSockets::StartFails; }
void CleanupSocketLibrary() {}

SocketHandle CreateUdpSocket() {
  if (FakeSockets::CreateFails) return kInvalidSocket;
  ++FakeSockets::Open;
  return next_socket++;
}

BindResult BindSocket(SocketHandle, PeerAddress) { return FakeSockets::Bind; }
BindResult BindShared(SocketHandle, std::uint16_t) {
  ++FakeSockets::SharedBinds;
  return FakeSockets::Bind;
}

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
void CloseSocket(SocketHandle) { --FakeSockets::Open; }

std::optional<std::size_t> ReceiveFrom(SocketHandle, std::uint8_t* buffer, std::size_t capacity, PeerAddress& from) {
  if (FakeSockets::Incoming.empty()) return std::nullopt;
  const std::vector<std::uint8_t> datagram = std::move(FakeSockets::Incoming.front());
  FakeSockets::Incoming.pop_front();
  const std::size_t size = std::min(datagram.size(), capacity);
  std::copy_n(datagram.begin(), size, buffer);
  from = FakeSockets::Sender;
  return size;
}

bool SendTo(SocketHandle, const std::uint8_t* data, std::size_t size, PeerAddress) {
  FakeSockets::Sent.emplace_back(data, data + size);
  return true;
}
