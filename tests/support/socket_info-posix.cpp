#include "socket_info.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include "bridge/ipv4_sockaddr.h"

std::optional<PeerAddress> BoundAddress(SocketHandle socket) {
  sockaddr_in addr{};
  socklen_t length = sizeof addr;
  if (::getsockname(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&addr), &length) != 0) return std::nullopt;
  return FromSockaddr(addr);
}

int ReceiveQueueBytes(SocketHandle socket) {
  int bytes = 0;
  socklen_t length = sizeof bytes;
  if (::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_RCVBUF, &bytes, &length) != 0) return 0;
  return bytes;
}

bool SharesItsPortOnAllAddresses(SocketHandle socket) {
  const int fd = static_cast<int>(socket);
  sockaddr_in address{};
  socklen_t address_length = sizeof address;
  int reuse = 0, all = 1;
  socklen_t length = sizeof reuse;
  return ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &address_length) == 0 &&
         address.sin_addr.s_addr == htonl(INADDR_ANY) &&
         ::getsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, &length) == 0 && reuse != 0 &&
         ::getsockopt(fd, IPPROTO_IP, IP_MULTICAST_ALL, &all, &length) == 0 && all == 0;
}

bool BoundForItselfAlone(SocketHandle socket) {
  for (const int option : {SO_REUSEADDR, SO_REUSEPORT}) {
    int value = 1;
    socklen_t length = sizeof value;
    if (::getsockopt(static_cast<int>(socket), SOL_SOCKET, option, &value, &length) != 0 || value != 0) return false;
  }
  return true;
}
