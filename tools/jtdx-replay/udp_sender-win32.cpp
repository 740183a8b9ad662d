#include <winsock2.h>
#include <ws2tcpip.h>

#include "replay_options.h"
#include "udp_sender.h"

namespace {

std::string WinsockError(const std::string& what) {
  return what + " (Winsock error " + std::to_string(WSAGetLastError()) + ")";
}

}  // namespace

bool UdpSender::Open(std::string& reason) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
    reason = "Windows Sockets 2.2 did not start";
    return false;
  }
  const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) {
    reason = WinsockError("cannot create a UDP socket");
    WSACleanup();
    return false;
  }
  socket_ = static_cast<std::intptr_t>(s);
  return true;
}

UdpSender::~UdpSender() {
  // Winsock stays started exactly as long as the socket exists.
  if (socket_ == -1) return;
  ::closesocket(static_cast<SOCKET>(socket_));
  WSACleanup();
}

bool UdpSender::Send(std::uint32_t ip, std::uint16_t port, const std::vector<std::uint8_t>& datagram,
                     std::string& reason) {
  if (socket_ == -1) {
    reason = "the UDP socket is not open";
    return false;
  }
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(ip);
  const int sent = ::sendto(static_cast<SOCKET>(socket_), reinterpret_cast<const char*>(datagram.data()),
                            static_cast<int>(datagram.size()), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
  if (sent == SOCKET_ERROR || static_cast<std::size_t>(sent) != datagram.size()) {
    reason = WinsockError("sending to " + FormatIpv4(ip) + ":" + std::to_string(port) + " failed");
    return false;
  }
  return true;
}
