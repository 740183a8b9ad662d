#pragma once
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <vector>

#include "bridge/socket_ops.h"
#include "fake_clock.h"

// Socket operations of memory. Linked into a test program ahead of the
// bridge library, they take the place of the platform's own: each socket
// bound to a port has a queue of its own, filled by Arrive and taken in
// order by that socket's receive, and closing a socket drops what is queued
// on it, as a real one does. Port locks are a set of memory too. What is sent is kept in Sent, and the failures
// no real socket can be made to show are reachable on request. Where a test
// hands in its clock, each receive costs ReceiveCost of it.
struct FakeSockets {
  struct Datagram {
    std::vector<std::uint8_t> Bytes;
    PeerAddress From;
    std::uint32_t To = 0;  // the destination a shared receive reports; 0: none
  };
  struct Socket {
    std::uint16_t Port = 0;  // bound to; 0 while unbound
    std::deque<Datagram> Queue;
  };

  static inline bool StartFails = false;
  static inline bool CreateFails = false;
  static inline bool NonBlockingFails = false;
  static inline BindResult Bind = BindResult::Bound;
  static inline int Open = 0;                            // sockets created and not closed
  static inline std::map<SocketHandle, Socket> Sockets;  // the open ones
  static inline std::vector<std::vector<std::uint8_t>> Sent;
  static constexpr PeerAddress kSender{kLoopbackIp, 50000};
  static inline PeerAddress Sender = kSender;                      // where the datagrams arriving now come from
  static inline std::vector<std::uint32_t> LocalIps{kLoopbackIp};  // the interfaces' addresses
  static inline int LocalIpReads = 0;
  static inline std::vector<std::uint32_t> Joined;  // the interfaces a group was joined on
  static inline int SharedBinds = 0;                // binds on all addresses, for a group
  static inline std::uint32_t Destination = 0;      // where the datagrams arriving now were sent
  // Ports whose lock another Relvan holds; the locks this one holds, by
  // handle; and whether no lock can be made at all.
  static inline std::set<int> LockedByAnother;
  static inline std::map<PortLock, int> Locks;
  static inline bool LocksUnavailable = false;
  static inline FakeClock* Clock = nullptr;
  static inline std::chrono::nanoseconds ReceiveCost{0};

  // A datagram from Sender to `port`: queued on every socket bound there (a
  // shared port has several), lost where none is.
  static void Arrive(int port, const std::vector<std::uint8_t>& bytes) {
    for (auto& [handle, socket] : Sockets) {
      if (socket.Port != 0 && socket.Port == port) socket.Queue.push_back({bytes, Sender, Destination});
    }
  }
  // What is queued on a socket, not yet received.
  static std::size_t Queued(SocketHandle handle) {
    const auto socket = Sockets.find(handle);
    return socket == Sockets.end() ? 0 : socket->second.Queue.size();
  }

  static void Reset() {
    StartFails = CreateFails = NonBlockingFails = false;
    Bind = BindResult::Bound;
    Open = 0;
    Sockets.clear();
    Sent.clear();
    Sender = kSender;
    LocalIps = {kLoopbackIp};
    LocalIpReads = 0;
    Joined.clear();
    SharedBinds = 0;
    Destination = 0;
    LockedByAnother.clear();
    Locks.clear();
    LocksUnavailable = false;
    Clock = nullptr;
    ReceiveCost = {};
  }
};
