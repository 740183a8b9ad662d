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
bool MakeNonBlocking(SocketHandle) { return !FakeSockets::NonBlockingFails; }
void CloseSocket(SocketHandle) { --FakeSockets::Open; }

std::optional<std::size_t> ReceiveFrom(SocketHandle, std::uint8_t* buffer, std::size_t capacity, PeerAddress& from) {
  if (FakeSockets::Incoming.empty()) return std::nullopt;
  const std::vector<std::uint8_t> datagram = std::move(FakeSockets::Incoming.front());
  FakeSockets::Incoming.pop_front();
  const std::size_t size = std::min(datagram.size(), capacity);
  std::copy_n(datagram.begin(), size, buffer);
  from = FakeSockets::kSender;
  return size;
}

bool SendTo(SocketHandle, const std::uint8_t* data, std::size_t size, PeerAddress) {
  FakeSockets::Sent.emplace_back(data, data + size);
  return true;
}
