#pragma once
// PeerAddress to and from the socket address both platforms' socket
// functions take; only the header that declares it differs.
#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#endif

#include "core/udp_address.h"

inline sockaddr_in ToSockaddr(PeerAddress address) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_port = htons(address.Port);
  result.sin_addr.s_addr = htonl(address.Ip);
  return result;
}

inline PeerAddress FromSockaddr(const sockaddr_in& address) {
  return {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
}
