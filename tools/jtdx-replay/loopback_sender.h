#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A UDP socket that sends datagrams to 127.0.0.1, one file per platform
// (loopback_sender-posix.cpp, loopback_sender-win32.cpp).
class LoopbackSender {
 public:
  LoopbackSender();
  ~LoopbackSender();
  LoopbackSender(const LoopbackSender&) = delete;
  LoopbackSender& operator=(const LoopbackSender&) = delete;

  // Empty when the socket is ready, else why it is not.
  const std::string& Error() const { return error_; }

  // False, with the reason in Error(), when the datagram did not go out.
  [[nodiscard]] bool Send(std::uint16_t port, const std::vector<std::uint8_t>& datagram);

 private:
  std::intptr_t socket_ = -1;
  std::string error_;
};
