#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "replay_options.h"
#include "udp_sender.h"

bool UdpSender::Open(std::string& reason) {
  socket_ = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (socket_ >= 0) return true;
  reason = std::string("cannot create a UDP socket: ") + std::strerror(errno);
  return false;
}

UdpSender::~UdpSender() {
  if (socket_ >= 0) ::close(static_cast<int>(socket_));
}

bool UdpSender::Send(std::uint32_t ip, std::uint16_t port, const std::vector<std::uint8_t>& datagram,
                     std::string& reason) {
  if (socket_ < 0) {
    reason = "the UDP socket is not open";
    return false;
  }
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(ip);
  const ssize_t sent = ::sendto(static_cast<int>(socket_), datagram.data(), datagram.size(), 0,
                                reinterpret_cast<const sockaddr*>(&to), sizeof to);
  if (sent < 0 || static_cast<std::size_t>(sent) != datagram.size()) {
    reason = "sending to " + FormatIpv4(ip) + ":" + std::to_string(port) + " failed: " + std::strerror(errno);
    return false;
  }
  return true;
}
