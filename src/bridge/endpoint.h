#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "bridge/net.h"
#include "core/clock.h"

// The multicast group a text names ("239.255.0.1": a dotted quad whose
// first part is 224 to 239), or nothing.
[[nodiscard]] std::optional<std::uint32_t> ParseMulticastGroup(std::string_view text);

enum class EndpointStatus {
  Open,      // bound or not (Bound says), and non-blocking
  NoSocket,  // no socket could be made
  Blocking,  // the socket is open but would block
};

// Moving the endpoint to another port (or binding its port again).
enum class PortChange {
  Moved,          // listening on the new port; the old socket is closed
  PortHeld,       // the new port could not be bound; the old endpoint is untouched
  PortReserved,   // the same, a port Windows keeps for itself or another holds exclusively
  AnotherRelvan,  // the same, another Relvan of this session holds the port's lock
  NoSocket,       // no socket could be made; the old endpoint is untouched
  Blocking,       // the new socket would block; it is closed, the old one untouched
};

// How long a sender that goes on sending to the port Setup moved away from is
// still served there.
inline constexpr std::chrono::seconds kRetiredServedFor{1};

// A sender not among this machine's addresses has them read again at most
// this often.
inline constexpr std::chrono::seconds kLocalIpsRereadInterval{1};

// The bridge's UDP endpoint, on the sockets it is handed: one socket bound to
// 127.0.0.1 on its port (1 to 65535) and switched to non-blocking mode, so
// that no tick ever waits. With a group it is shared instead: bound on all
// addresses with the other readers of that multicast group, joined to it on
// every interface that is up, and taking only what this machine's own
// programs send. It is bound only while it has a socket, and holds the port's
// lock only while bound.
//
// One Relvan per port: the lock (Net::TakePortLock) is taken just before each
// bind and held while that socket is bound; it goes with the socket (after
// Setup's move, once the old socket has been read empty) or with a bind that
// failed. A port whose lock another Relvan holds is not bound at all; a port
// whose lock this endpoint holds keeps it for a bind again.
class Endpoint {
 public:
  // `net` outlives the endpoint. Closed until Open; closed again when it goes.
  explicit Endpoint(Net& net) : net_(net) {}
  ~Endpoint() { Close(); }
  Endpoint(const Endpoint&) = delete;
  Endpoint& operator=(const Endpoint&) = delete;

  // Shares the endpoint in `group` from the next Open on (0: the bridge's own).
  void SetGroup(std::uint32_t group) { group_ = group; }

  // Closes the endpoint if it is open, then on `port`: a new socket, the
  // caller's own step, the port's lock and the bind (their outcome in Bound,
  // PortReserved and LockedByAnother), the non-blocking switch.
  [[nodiscard]] EndpointStatus Open(int port, const std::function<void()>& caller_step);

  // Binds a new socket on `port` first, and only once it listens there makes
  // `port` the endpoint's Port: the bridge never stops listening because a
  // port it was asked to move to is taken. A bound old socket is kept as the
  // retired socket (retired at `now`), so that what was queued on it is
  // still handled, until the ticks have read it empty or CloseRetired; an
  // unbound one is closed. A socket an earlier move retired is handed to
  // `finish_retired` first, which must see to what is queued on it and close
  // it (without one it is closed), and so is one still bound to `port`
  // itself.
  [[nodiscard]] PortChange Move(int port, Clock::TimePoint now = {},
                                const std::function<void()>& finish_retired = nullptr);

  // The upkeep's share, without a word: a port that was held (or locked by
  // another Relvan) when the endpoint opened is tried again, LockedByAnother
  // following; and a bound shared endpoint reads the interfaces' addresses
  // again and joins its group on each, so that an interface that came up
  // since (Wi-Fi, a VPN) is heard too. Nothing happens to a closed endpoint.
  void Upkeep();

  // Closes the socket, and the retired one; nothing when they are closed
  // already.
  void Close();
  void CloseRetired();

  // Takes one waiting datagram, whole, into Datagram and its sender into
  // LastSender, without waiting. False when none was taken (nothing waiting,
  // or no socket). The second takes from the socket a move retired.
  [[nodiscard]] bool Receive();
  [[nodiscard]] bool ReceiveRetired();

  // Whether the last datagram's sender is this machine: always for an
  // endpoint of its own; shared, when it is loopback, 0.0.0.0 (what the
  // loopback interface may carry back) or an interface's address, read again
  // at most once per kLocalIpsRereadInterval (and at once after the clock
  // was set back) for a sender that is none of these. A datagram refused is
  // counted in Refused.
  [[nodiscard]] bool SenderIsLocal(Clock::TimePoint now);

  // Shared, a datagram sent to this machine's address rather than through
  // the group reaches only one of the port's readers, which may not be Relvan
  // next time: NotSentToGroup holds until one comes through the group again
  // (or without the packet information, taken as the group's), and names the
  // sender of the first of such a run (so that a tick allocates nothing).
  void NoteDestination(std::span<const std::uint8_t> datagram) {
    if (group_ != 0) NoteSharedDestination(datagram);
  }

  // Answers an early Heartbeat at LastSender with JTDX's magic alone
  // (jtdx::MakeHeartbeatReply); a reply that does not go is not worth a word.
  void ReplyToHeartbeat(std::span<const std::uint8_t> datagram) const;
  // Sends bytes to LastSender from the endpoint; false when they did not go,
  // and nothing goes out before a datagram has come in.
  [[nodiscard]] bool SendToPeer(const std::uint8_t* data, std::size_t size) const;

  int Port() const { return port_; }
  bool Bound() const { return bound_; }
  bool PortReserved() const { return port_reserved_; }         // the last bind was refused for a port Windows reserves
  bool LockedByAnother() const { return locked_by_another_; }  // the last bind was not tried: another Relvan holds it
  std::uint32_t Group() const { return group_; }
  std::uint64_t Refused() const { return refused_; }  // since the program started
  bool NotSentToGroup() const { return not_sent_to_group_; }
  const std::string& NotToGroupSender() const { return not_to_group_sender_; }  // its id, at most 12 characters
  SocketHandle Socket() const { return socket_; }
  PeerAddress LastSender() const { return last_sender_; }  // where Heartbeats are answered
  std::span<const std::uint8_t> Datagram() const { return {recv_buffer_.data(), recv_length_}; }

  // Whether a move left a socket still to be read, and whether it is served
  // at `now` (for kRetiredServedFor after the move; a clock set back ends
  // that).
  bool HasRetired() const { return retired_socket_ != kInvalidSocket; }
  bool ServesRetired(Clock::TimePoint now) const { return WithinSpan(now, retired_at_, kRetiredServedFor); }

 private:
  enum class BindOutcome { Bound, Held, Reserved, LockedByAnother };

  PeerAddress BindAddressOf(int port) const;
  BindResult Bind(SocketHandle socket, PeerAddress address);
  BindOutcome LockAndBind(SocketHandle socket, PeerAddress address, PortLock& lock);
  void JoinGroupOnNewInterfaces(SocketHandle socket);
  void ReadLocalIps();
  bool IsLocal(std::uint32_t ip) const;
  [[nodiscard]] bool RetryBind();
  [[nodiscard]] bool ReceiveInto(SocketHandle socket);
  void NoteSharedDestination(std::span<const std::uint8_t> datagram);

  Net& net_;
  SocketHandle socket_ = kInvalidSocket;
  int port_ = kJtdxUdpPort;
  bool bound_ = false;
  bool port_reserved_ = false;
  PortLock port_lock_ = kNoPortLock;
  bool locked_by_another_ = false;
  // The socket a move left, read until it is empty, and when the move was
  // made: a sender that keeps sending there is cut off a while later.
  SocketHandle retired_socket_ = kInvalidSocket;
  int retired_port_ = 0;
  PortLock retired_port_lock_ = kNoPortLock;
  Clock::TimePoint retired_at_;
  PeerAddress last_sender_;

  std::uint32_t group_ = 0;
  // This machine's interface addresses as last read, and when they were read
  // for a sender that was not among them.
  static constexpr std::size_t kMaxLocalIps = 64;
  std::array<std::uint32_t, kMaxLocalIps> local_ips_{};
  std::size_t local_ip_count_ = 0;
  Clock::TimePoint local_ips_read_at_;
  std::uint64_t refused_ = 0;
  // Shared: where the last datagram was sent (0: not known, taken as the group).
  std::uint32_t last_destination_ = 0;
  bool not_sent_to_group_ = false;
  std::string not_to_group_sender_;

  std::array<std::uint8_t, kMaxDatagram> recv_buffer_{};
  std::size_t recv_length_ = 0;
};
