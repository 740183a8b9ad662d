#include "fake_socket_ops.h"

#include "link/socket_ops.h"

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

std::optional<std::size_t> ReceiveFrom(SocketHandle, std::uint8_t*, std::size_t, PeerAddress&) { return std::nullopt; }

bool SendTo(SocketHandle, const std::uint8_t*, std::size_t, PeerAddress) { return true; }
