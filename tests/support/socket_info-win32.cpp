#include "bound_port.h"

#include <winsock2.h>

std::optional<std::uint16_t> BoundPort(SocketHandle socket) {
  sockaddr_in addr{};
  int length = sizeof addr;
  if (::getsockname(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&addr), &length) != 0) return std::nullopt;
  return ntohs(addr.sin_port);
}
