#include "socket_info.h"

#include <winsock2.h>

std::optional<std::uint16_t> BoundPort(SocketHandle socket) {
  sockaddr_in addr{};
  int length = sizeof addr;
  if (::getsockname(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&addr), &length) != 0) return std::nullopt;
  return ntohs(addr.sin_port);
}

int ReceiveQueueBytes(SocketHandle socket) {
  int bytes = 0;
  int length = sizeof bytes;
  if (::getsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&bytes), &length) != 0)
    return 0;
  return bytes;
}

bool BoundForItselfAlone(SocketHandle socket) {
  BOOL exclusive = FALSE;
  int length = sizeof exclusive;
  return ::getsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<char*>(&exclusive),
                      &length) == 0 &&
         exclusive != FALSE;
}
