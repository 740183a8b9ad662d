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
  UdpSender();
  ~UdpSender();
  UdpSender(const UdpSender&) = delete;
  UdpSender& operator=(const UdpSender&) = delete;

  // Empty when the socket is ready, else why it is not.
  const std::string& Error() const { return error_; }

  // False, with the reason in Error(), when the datagram did not go out.
  [[nodiscard]] bool Send(std::uint32_t ip, std::uint16_t port, const std::vector<std::uint8_t>& datagram);

 private:
  std::intptr_t socket_ = -1;
  std::string error_;
};
