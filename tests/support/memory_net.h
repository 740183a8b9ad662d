#pragma once
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <vector>

#include "bridge/net.h"
#include "fake_clock.h"

// Sockets of memory, handed to the bridge in place of the system's: each
// socket bound to a port has a queue of its own, filled by Arrive and taken
// in order by that socket's receive, and closing a socket drops what is
// queued on it, as a real one does. Port locks are a set of memory too. What
// is sent is kept in Sent, and the failures no real socket can be made to
// show are reachable on request. Where a test hands in its clock, each
// receive costs ReceiveCost of it.
class MemoryNet : public Net {
 public:
  struct Datagram {
    std::vector<std::uint8_t> Bytes;
    PeerAddress From;
    std::uint32_t To = 0;  // the destination a shared receive reports; 0: none
  };
  struct Socket {
    std::uint16_t Port = 0;  // bound to; 0 while unbound
    std::deque<Datagram> Queue;
  };

  // A datagram from Sender to `port`: queued on every socket bound there (a
  // shared port has several), lost where none is.
  void Arrive(int port, const std::vector<std::uint8_t>& bytes);
  // What is queued on a socket, not yet received.
  std::size_t Queued(SocketHandle handle) const;

  bool StartFails = false;
  bool CreateFails = false;
  bool NonBlockingFails = false;
  BindResult Bind = BindResult::Bound;
  int Open = 0;                            // sockets created and not closed
  std::map<SocketHandle, Socket> Sockets;  // the open ones
  std::vector<std::vector<std::uint8_t>> Sent;
  static constexpr PeerAddress kSender{kLoopbackIp, 50000};
  PeerAddress Sender = kSender;                      // where the datagrams arriving now come from
  std::uint32_t Destination = 0;                     // where they were sent
  std::vector<std::uint32_t> LocalIps{kLoopbackIp};  // the interfaces' addresses
  int LocalIpReads = 0;
  std::vector<std::uint32_t> Joined;  // the interfaces a group was joined on
  int SharedBinds = 0;                // binds on all addresses, for a group
  // Ports whose lock another Relvan holds; the locks this one holds, by
  // handle; and whether no lock can be made at all.
  std::set<int> LockedByAnother;
  std::map<PortLock, int> Locks;
  bool LocksUnavailable = false;
  FakeClock* Clock = nullptr;
  std::chrono::nanoseconds ReceiveCost{0};

  bool StartSocketLibrary() override { return !StartFails; }
  void CleanupSocketLibrary() override {}
  SocketHandle CreateUdpSocket() override;
  BindResult BindSocket(SocketHandle socket, PeerAddress address) override { return BindTo(socket, address.Port); }
  BindResult BindShared(SocketHandle socket, std::uint16_t port) override;
  PortLockResult TakePortLock(std::uint16_t port, PortLock& lock) override;
  void ReleasePortLock(PortLock lock) override { Locks.erase(lock); }
  bool JoinGroup(SocketHandle socket, std::uint32_t group, std::uint32_t interface_ip) override;
  std::size_t InterfaceAddresses(std::uint32_t* out, std::size_t capacity) override;
  bool MakeNonBlocking(SocketHandle) override { return !NonBlockingFails; }
  void CloseSocket(SocketHandle socket) override;
  std::optional<std::size_t> ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                         PeerAddress& from) override;
  std::optional<std::size_t> ReceiveFromTo(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                           PeerAddress& from, std::uint32_t& to) override;
  bool SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t size, PeerAddress to) override;

 private:
  BindResult BindTo(SocketHandle handle, std::uint16_t port);

  SocketHandle next_socket_ = 100;
  PortLock next_lock_ = 1;
};
