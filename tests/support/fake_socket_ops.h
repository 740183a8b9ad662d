#pragma once
#include <cstdint>
#include <deque>
#include <vector>

#include "bridge/socket_ops.h"

// Socket operations of memory. Linked into a test program ahead of the
// bridge library, they take the place of the platform's own: datagrams are
// bytes queued in Incoming and taken in order by any socket's receive, what
// is sent is kept in Sent, and the failures no real socket can be made to
// show are reachable on request.
struct FakeSockets {
  static inline bool StartFails = false;
  static inline bool CreateFails = false;
  static inline bool NonBlockingFails = false;
  static inline BindResult Bind = BindResult::Bound;
  static inline int Open = 0;  // sockets created and not closed
  static inline std::deque<std::vector<std::uint8_t>> Incoming;
  static inline std::vector<std::vector<std::uint8_t>> Sent;
  static constexpr PeerAddress kSender{kLoopbackIp, 50000};
  static inline PeerAddress Sender = kSender;                      // where every datagram comes from
  static inline std::vector<std::uint32_t> LocalIps{kLoopbackIp};  // the interfaces' addresses
  static inline int LocalIpReads = 0;
  static inline std::vector<std::uint32_t> Joined;  // the interfaces a group was joined on
  static inline int SharedBinds = 0;                // binds on all addresses, for a group

  static void Reset() {
    StartFails = CreateFails = NonBlockingFails = false;
    Bind = BindResult::Bound;
    Open = 0;
    Incoming.clear();
    Sent.clear();
    Sender = kSender;
    LocalIps = {kLoopbackIp};
    LocalIpReads = 0;
    Joined.clear();
    SharedBinds = 0;
  }
};
