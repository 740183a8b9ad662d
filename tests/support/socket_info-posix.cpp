#include "bound_port.h"

#include <netinet/in.h>
#include <sys/socket.h>

std::optional<std::uint16_t> BoundPort(SocketHandle socket) {
  sockaddr_in addr{};
  socklen_t length = sizeof addr;
  if (::getsockname(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&addr), &length) != 0) return std::nullopt;
  return ntohs(addr.sin_port);
}
