#include <winsock2.h>
#include <mswsock.h>
#include <windows.h>
#include <ws2tcpip.h>

#include <cstring>
#include <string>

#include "bridge/ipv4_sockaddr.h"
#include "bridge/net.h"

namespace {

SOCKET Native(SocketHandle socket) { return static_cast<SOCKET>(socket); }

}  // namespace

bool SystemNet::StartSocketLibrary() {
  WSADATA data;  // not examined
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void SystemNet::CleanupSocketLibrary() { WSACleanup(); }

SocketHandle SystemNet::CreateUdpSocket() {
  const SOCKET socket = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (socket == INVALID_SOCKET) return kInvalidSocket;
  // Winsock reports a send to a port nobody listens on as WSAECONNRESET on
  // the next receive, which then takes no datagram: a Heartbeat reply to a
  // sender that has gone would end a tick's receiving early.
  BOOL report = FALSE;
  DWORD returned = 0;
  WSAIoctl(socket, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned, nullptr, nullptr);
  const int bytes = kReceiveBufferBytes;
  ::setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes);
  return static_cast<SocketHandle>(socket);
}

BindResult SystemNet::BindSocket(SocketHandle socket, PeerAddress address) {
  // Without it another program of the same user could bind the port with
  // SO_REUSEADDR and take the datagrams while the bridge says it listens.
  BOOL exclusive = TRUE;
  ::setsockopt(Native(socket), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);
  const sockaddr_in addr = ToSockaddr(address);
  if (::bind(Native(socket), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) return BindResult::Bound;
  return WSAGetLastError() == WSAEACCES ? BindResult::Reserved : BindResult::Held;
}

BindResult SystemNet::BindShared(SocketHandle socket, std::uint16_t port) {
  BOOL reuse = TRUE;
  ::setsockopt(Native(socket), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
  DWORD packet_info = 1;
  ::setsockopt(Native(socket), IPPROTO_IP, IP_PKTINFO, reinterpret_cast<const char*>(&packet_info), sizeof packet_info);
  const sockaddr_in addr = ToSockaddr({INADDR_ANY, port});
  if (::bind(Native(socket), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) return BindResult::Bound;
  // With SO_REUSEADDR set, Windows refuses a port only for a program that
  // holds it exclusively (WSAEACCES) or for its own reservations, which
  // cannot be told apart here; the program is by far the likelier.
  return BindResult::Held;
}

PortLockResult SystemNet::TakePortLock(std::uint16_t port, PortLock& lock) {
  const std::wstring name = L"Local\\Relvan UDP port " + std::to_wstring(port);
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return PortLockResult::Unavailable;
  // One a Relvan that died left is abandoned: ours now.
  const DWORD waited = WaitForSingleObject(mutex, 0);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
    lock = reinterpret_cast<PortLock>(mutex);
    return PortLockResult::Taken;
  }
  CloseHandle(mutex);
  return waited == WAIT_TIMEOUT ? PortLockResult::HeldByAnother : PortLockResult::Unavailable;
}

void SystemNet::ReleasePortLock(PortLock lock) {
  if (lock == kNoPortLock) return;
  const HANDLE mutex = reinterpret_cast<HANDLE>(lock);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

bool SystemNet::JoinGroup(SocketHandle socket, std::uint32_t group, std::uint32_t interface_ip) {
  ip_mreq request{};
  request.imr_multiaddr.s_addr = htonl(group);
  request.imr_interface.s_addr = htonl(interface_ip);
  return ::setsockopt(Native(socket), IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&request),
                      sizeof request) == 0;
}

std::size_t SystemNet::InterfaceAddresses(std::uint32_t* out, std::size_t capacity) {
  const SOCKET probe = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (probe == INVALID_SOCKET) return 0;
  INTERFACE_INFO interfaces[64];
  DWORD returned = 0;
  const int result =
      WSAIoctl(probe, SIO_GET_INTERFACE_LIST, nullptr, 0, interfaces, sizeof interfaces, &returned, nullptr, nullptr);
  ::closesocket(probe);
  if (result != 0) return 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < returned / sizeof(INTERFACE_INFO) && count < capacity; ++i) {
    if ((interfaces[i].iiFlags & IFF_UP) == 0 || interfaces[i].iiAddress.Address.sa_family != AF_INET) continue;
    out[count++] = FromSockaddr(interfaces[i].iiAddress.AddressIn).Ip;
  }
  return count;
}

bool SystemNet::MakeNonBlocking(SocketHandle socket) {
  u_long enable = 1;
  return ::ioctlsocket(Native(socket), FIONBIO, &enable) == 0;
}

void SystemNet::CloseSocket(SocketHandle socket) { ::closesocket(Native(socket)); }

std::optional<std::size_t> SystemNet::ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                                  PeerAddress& from) {
  sockaddr_in addr{};
  int length = sizeof addr;
  const int received = ::recvfrom(Native(socket), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0,
                                  reinterpret_cast<sockaddr*>(&addr), &length);
  if (received == SOCKET_ERROR) return std::nullopt;
  from = FromSockaddr(addr);
  return static_cast<std::size_t>(received);
}

namespace {

// WSARecvMsg is reached through the provider's extension table, once.
LPFN_WSARECVMSG RecvMsgOf(SOCKET socket) {
  static LPFN_WSARECVMSG recv_msg = nullptr;
  if (recv_msg != nullptr) return recv_msg;
  GUID id = WSAID_WSARECVMSG;
  DWORD returned = 0;
  LPFN_WSARECVMSG found = nullptr;
  if (WSAIoctl(socket, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &found, sizeof found, &returned, nullptr,
               nullptr) == 0) {
    recv_msg = found;
  }
  return recv_msg;
}

}  // namespace

std::optional<std::size_t> SystemNet::ReceiveFromTo(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                                                    PeerAddress& from, std::uint32_t& to) {
  const LPFN_WSARECVMSG recv_msg = RecvMsgOf(Native(socket));
  if (recv_msg == nullptr) {
    to = 0;
    return ReceiveFrom(socket, buffer, capacity, from);
  }
  sockaddr_in addr{};
  WSABUF data{static_cast<ULONG>(capacity), reinterpret_cast<char*>(buffer)};
  alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))];
  WSAMSG message{};
  message.name = reinterpret_cast<sockaddr*>(&addr);
  message.namelen = sizeof addr;
  message.lpBuffers = &data;
  message.dwBufferCount = 1;
  message.Control = {sizeof control, control};
  DWORD received = 0;
  if (recv_msg(Native(socket), &message, &received, nullptr, nullptr) == SOCKET_ERROR) return std::nullopt;
  from = FromSockaddr(addr);
  to = 0;
  if ((message.dwFlags & MSG_CTRUNC) == 0) {
    for (WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message); header != nullptr;
         header = WSA_CMSG_NXTHDR(&message, header)) {
      if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_PKTINFO) continue;
      IN_PKTINFO info;
      std::memcpy(&info, WSA_CMSG_DATA(header), sizeof info);
      to = ntohl(info.ipi_addr.s_addr);
    }
  }
  return static_cast<std::size_t>(received);
}

bool SystemNet::SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t size, PeerAddress to) {
  const sockaddr_in addr = ToSockaddr(to);
  return ::sendto(Native(socket), reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
                  reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == static_cast<int>(size);
}
