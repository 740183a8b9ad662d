#include "socket_info.h"

#include <winsock2.h>

#include "bridge/ipv4_sockaddr.h"

std::optional<PeerAddress> BoundAddress(SocketHandle socket) {
  sockaddr_in addr{};
  int length = sizeof addr;
  if (::getsockname(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&addr), &length) != 0) return std::nullopt;
  return FromSockaddr(addr);
}

int ReceiveQueueBytes(SocketHandle socket) {
  int bytes = 0;
  int length = sizeof bytes;
  if (::getsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&bytes), &length) != 0)
    return 0;
  return bytes;
}

bool SharesItsPortOnAllAddresses(SocketHandle socket) {
  const SOCKET native = static_cast<SOCKET>(socket);
  sockaddr_in address{};
  int address_length = sizeof address;
  BOOL reuse = FALSE;
  int length = sizeof reuse;
  return ::getsockname(native, reinterpret_cast<sockaddr*>(&address), &address_length) == 0 &&
         address.sin_addr.s_addr == htonl(INADDR_ANY) &&
         ::getsockopt(native, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<char*>(&reuse), &length) == 0 &&
         reuse != FALSE;
}

bool BoundForItselfAlone(SocketHandle socket) {
  BOOL exclusive = FALSE;
  int length = sizeof exclusive;
  return ::getsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<char*>(&exclusive),
                      &length) == 0 &&
         exclusive != FALSE;
}
