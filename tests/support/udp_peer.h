#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "bridge/endpoint.h"
#include "bridge/net.h"

// A second UDP socket on 127.0.0.1 that plays JTDX in tests: it sends
// datagrams to the bridge's port and collects what comes back. Binds an
// ephemeral port unless given one.
class UdpPeer {
 public:
  explicit UdpPeer(std::uint16_t port = 0);
  ~UdpPeer();
  UdpPeer(const UdpPeer&) = delete;
  UdpPeer& operator=(const UdpPeer&) = delete;

  bool Bound() const { return bound_; }
  std::uint16_t Port() const { return port_; }
  void SendTo(std::uint16_t port, const std::vector<std::uint8_t>& bytes) const;
  // Waits a bounded while (a few seconds) for one datagram.
  std::optional<std::vector<std::uint8_t>> Receive() const;

 private:
  mutable SystemNet net_;
  SocketHandle socket_ = kInvalidSocket;
  bool bound_ = false;
  std::uint16_t port_ = 0;
};

// Runs receives on the bridge's endpoint until one datagram is taken, within
// the same bounded wait; false when none came.
bool ReceiveSoon(Endpoint& endpoint);
