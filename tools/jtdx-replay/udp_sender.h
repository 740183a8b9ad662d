#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A plain UDP socket, as JTDX's (no multicast option set), that sends
// datagrams to an IPv4 address in host byte order (127.0.0.1, or a multicast
// group), one file per platform (udp_sender-posix.cpp, udp_sender-win32.cpp).
class UdpSender {
 public:
  UdpSender() = default;
  ~UdpSender();
  UdpSender(const UdpSender&) = delete;
  UdpSender& operator=(const UdpSender&) = delete;

  // Makes the socket; false, with the reason, when it cannot.
  [[nodiscard]] bool Open(std::string& reason);
  // False, with the reason, when the datagram did not go out.
  [[nodiscard]] bool Send(std::uint32_t ip, std::uint16_t port, const std::vector<std::uint8_t>& datagram,
                          std::string& reason);

 private:
  std::intptr_t socket_ = -1;
};
