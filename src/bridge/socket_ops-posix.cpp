#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "bridge/ipv4_sockaddr.h"
#include "bridge/socket_ops.h"

bool StartSocketLibrary() { return true; }
void CleanupSocketLibrary() {}

SocketHandle CreateUdpSocket() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return kInvalidSocket;
  // Past the system's limit only where we may (root); elsewhere up to it.
  const int bytes = kReceiveBufferBytes;
  if (::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0) {
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
  }
  return fd;
}

BindResult BindSocket(SocketHandle socket, PeerAddress address) {
  const sockaddr_in addr = ToSockaddr(address);
  const bool bound = ::bind(static_cast<int>(socket), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  return bound ? BindResult::Bound : BindResult::Held;
}

bool MakeNonBlocking(SocketHandle socket) {
  const int flags = ::fcntl(static_cast<int>(socket), F_GETFL);
  return flags >= 0 && ::fcntl(static_cast<int>(socket), F_SETFL, flags | O_NONBLOCK) == 0;
}

void CloseSocket(SocketHandle socket) { ::close(static_cast<int>(socket)); }

std::optional<std::size_t> ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                       PeerAddress& from) {
  sockaddr_in addr{};
  socklen_t length = sizeof addr;
  const ssize_t received =
      ::recvfrom(static_cast<int>(socket), buffer, capacity, 0, reinterpret_cast<sockaddr*>(&addr), &length);
  if (received < 0) return std::nullopt;
  from = FromSockaddr(addr);
  return static_cast<std::size_t>(received);
}

bool SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t size, PeerAddress to) {
  const sockaddr_in addr = ToSockaddr(to);
  return ::sendto(static_cast<int>(socket), data, size, 0, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) ==
         static_cast<ssize_t>(size);
}
