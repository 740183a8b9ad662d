#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/file.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bridge/ipv4_sockaddr.h"
#include "bridge/net.h"

bool SystemNet::StartSocketLibrary() { return true; }
void SystemNet::CleanupSocketLibrary() {}

SocketHandle SystemNet::CreateUdpSocket() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return kInvalidSocket;
  // Past the system's limit only where we may (root); elsewhere up to it.
  const int bytes = kReceiveBufferBytes;
  if (::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0) {
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
  }
  return fd;
}

BindResult SystemNet::BindSocket(SocketHandle socket, PeerAddress address) {
  const sockaddr_in addr = ToSockaddr(address);
  const bool bound = ::bind(static_cast<int>(socket), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  return bound ? BindResult::Bound : BindResult::Held;
}

BindResult SystemNet::BindShared(SocketHandle socket, std::uint16_t port) {
  const int fd = static_cast<int>(socket);
  const int on = 1;
  const int off = 0;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  // Without it a socket bound to all addresses gets every group any program
  // on the machine joined, on this port.
  ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_ALL, &off, sizeof off);
  ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
  return BindSocket(socket, {INADDR_ANY, port});
}

namespace {

// Beside the substitute host's socket (host/host_socket_path.h), in the
// user's runtime folder where there is one.
std::string PortLockPath(std::uint16_t port) {
  const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
  if (runtime_dir != nullptr && *runtime_dir != '\0') {
    return std::string(runtime_dir) + "/relvan-" + std::to_string(port) + ".lock";
  }
  return "/tmp/relvan-" + std::to_string(getuid()) + "-" + std::to_string(port) + ".lock";
}

}  // namespace

PortLockResult SystemNet::TakePortLock(std::uint16_t port, PortLock& lock) {
  // No link followed, and a file another user made is not ours to lock.
  const int fd = ::open(PortLockPath(port).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return PortLockResult::Unavailable;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    lock = fd;
    return PortLockResult::Taken;
  }
  const bool held = errno == EWOULDBLOCK;
  ::close(fd);
  return held ? PortLockResult::HeldByAnother : PortLockResult::Unavailable;
}

void SystemNet::ReleasePortLock(PortLock lock) {
  // The file stays: removing it could let two Relvans lock two files of one name.
  if (lock != kNoPortLock) ::close(static_cast<int>(lock));
}

bool SystemNet::JoinGroup(SocketHandle socket, std::uint32_t group, std::uint32_t interface_ip) {
  ip_mreq request{};
  request.imr_multiaddr.s_addr = htonl(group);
  request.imr_interface.s_addr = htonl(interface_ip);
  return ::setsockopt(static_cast<int>(socket), IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0;
}

std::size_t SystemNet::InterfaceAddresses(std::uint32_t* out, std::size_t capacity) {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return 0;
  std::size_t count = 0;
  for (const ifaddrs* entry = list; entry != nullptr && count < capacity; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET || (entry->ifa_flags & IFF_UP) == 0) {
      continue;
    }
    out[count++] = FromSockaddr(*reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)).Ip;
  }
  ::freeifaddrs(list);
  return count;
}

bool SystemNet::MakeNonBlocking(SocketHandle socket) {
  const int flags = ::fcntl(static_cast<int>(socket), F_GETFL);
  return flags >= 0 && ::fcntl(static_cast<int>(socket), F_SETFL, flags | O_NONBLOCK) == 0;
}

void SystemNet::CloseSocket(SocketHandle socket) { ::close(static_cast<int>(socket)); }

std::optional<std::size_t> SystemNet::ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                                  PeerAddress& from) {
  sockaddr_in addr{};
  socklen_t length = sizeof addr;
  const ssize_t received =
      ::recvfrom(static_cast<int>(socket), buffer, capacity, 0, reinterpret_cast<sockaddr*>(&addr), &length);
  if (received < 0) return std::nullopt;
  from = FromSockaddr(addr);
  return static_cast<std::size_t>(received);
}

std::optional<std::size_t> SystemNet::ReceiveFromTo(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                                    PeerAddress& from, std::uint32_t& to) {
  sockaddr_in addr{};
  iovec data{buffer, capacity};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
  msghdr message{};
  message.msg_name = &addr;
  message.msg_namelen = sizeof addr;
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t received = ::recvmsg(static_cast<int>(socket), &message, 0);
  if (received < 0) return std::nullopt;
  from = FromSockaddr(addr);
  to = 0;
  if ((message.msg_flags & MSG_CTRUNC) == 0) {
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
      if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_PKTINFO) continue;
      in_pktinfo info;
      std::memcpy(&info, CMSG_DATA(header), sizeof info);
      to = ntohl(info.ipi_addr.s_addr);
    }
  }
  return static_cast<std::size_t>(received);
}

bool SystemNet::SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t size, PeerAddress to) {
  const sockaddr_in addr = ToSockaddr(to);
  return ::sendto(static_cast<int>(socket), data, size, 0, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) ==
         static_cast<ssize_t>(size);
}
