#include "udp_peer.h"

#include <chrono>
#include <thread>

#include "socket_info.h"

namespace {

// A generous bound for loopback delivery, which normally takes microseconds.
template <typename Try>
bool RetryForAWhile(Try attempt) {
  for (int i = 0; i < 1000; ++i) {
    if (attempt()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

}  // namespace

UdpPeer::UdpPeer(std::uint16_t port) {
  (void)net_.StartSocketLibrary();  // counted: each peer starts and ends its own use
  socket_ = net_.CreateUdpSocket();
  if (socket_ == kInvalidSocket) return;
  bound_ = net_.BindSocket(socket_, {kLoopbackIp, port}) == BindResult::Bound && net_.MakeNonBlocking(socket_);
  if (const auto bound = BoundAddress(socket_)) port_ = bound->Port;
}

UdpPeer::~UdpPeer() {
  if (socket_ != kInvalidSocket) net_.CloseSocket(socket_);
  net_.CleanupSocketLibrary();
}

void UdpPeer::SendTo(std::uint16_t port, const std::vector<std::uint8_t>& bytes) const {
  (void)net_.SendTo(socket_, bytes.data(), bytes.size(), {kLoopbackIp, port});
}

std::optional<std::vector<std::uint8_t>> UdpPeer::Receive() const {
  std::vector<std::uint8_t> buffer(kMaxDatagram);
  PeerAddress from;
  std::optional<std::size_t> length;
  RetryForAWhile([&] { return (length = net_.ReceiveFrom(socket_, buffer.data(), buffer.size(), from)).has_value(); });
  if (!length) return std::nullopt;
  buffer.resize(*length);
  return buffer;
}

bool ReceiveSoon(Endpoint& endpoint) {
  return RetryForAWhile([&] { return endpoint.Receive(); });
}
