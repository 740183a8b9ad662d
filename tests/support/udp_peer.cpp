#include "udp_peer.h"

#include <chrono>
#include <thread>

#include "bridge/endpoint.h"
#include "socket_info.h"
#include "bridge/socket_ops.h"

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
  StartSocketLibrary();  // counted: each peer starts and ends its own use
  socket_ = CreateUdpSocket();
  if (socket_ == kInvalidSocket) return;
  bound_ = BindSocket(socket_, {kLoopbackIp, port}) == BindResult::Bound && MakeNonBlocking(socket_);
  if (const auto bound = BoundPort(socket_)) port_ = *bound;
}

UdpPeer::~UdpPeer() {
  if (socket_ != kInvalidSocket) CloseSocket(socket_);
  CleanupSocketLibrary();
}

void UdpPeer::SendTo(std::uint16_t port, const std::vector<std::uint8_t>& bytes) const {
  ::SendTo(socket_, bytes.data(), bytes.size(), {kLoopbackIp, port});
}

std::optional<std::vector<std::uint8_t>> UdpPeer::Receive() const {
  std::vector<std::uint8_t> buffer(kMaxDatagram);
  PeerAddress from;
  std::optional<std::size_t> length;
  RetryForAWhile([&] { return (length = ReceiveFrom(socket_, buffer.data(), buffer.size(), from)).has_value(); });
  if (!length) return std::nullopt;
  buffer.resize(*length);
  return buffer;
}

bool ReceiveSoon(UdpEndpoint& endpoint) {
  return RetryForAWhile([&] { return ReceiveDatagram(endpoint); });
}
