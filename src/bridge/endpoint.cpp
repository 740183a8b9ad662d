#include "bridge/endpoint.h"

#include "bridge/socket_ops.h"

bool StartSockets() { return StartSocketLibrary(); }
void StopSockets() { CleanupSocketLibrary(); }

EndpointStatus OpenEndpoint(UdpEndpoint& endpoint, const std::function<void()>& caller_step) {
  // Never two sockets at once: a second one could not bind the same port.
  CloseEndpoint(endpoint);
  endpoint.Socket = CreateUdpSocket();
  if (endpoint.Socket == kInvalidSocket) return EndpointStatus::NoSocket;
  endpoint.BindAddress = {kLoopbackIp, static_cast<std::uint16_t>(endpoint.Port)};
  endpoint.LastSender = {};
  if (caller_step) caller_step();
  const BindResult bind = BindSocket(endpoint.Socket, endpoint.BindAddress);
  endpoint.Bound = bind == BindResult::Bound;
  endpoint.PortReserved = bind == BindResult::Reserved;
  return MakeNonBlocking(endpoint.Socket) ? EndpointStatus::Open : EndpointStatus::Blocking;
}

PortChange MoveEndpoint(UdpEndpoint& endpoint, int port) {
  const SocketHandle socket = CreateUdpSocket();
  if (socket == kInvalidSocket) return PortChange::NoSocket;
  const PeerAddress address{kLoopbackIp, static_cast<std::uint16_t>(port)};
  if (const BindResult bind = BindSocket(socket, address); bind != BindResult::Bound) {
    CloseSocket(socket);
    return bind == BindResult::Reserved ? PortChange::PortReserved : PortChange::PortHeld;
  }
  if (!MakeNonBlocking(socket)) {
    CloseSocket(socket);
    return PortChange::Blocking;
  }
  // What JTDX sent to the old port before the move is still handled: the
  // next tick takes it before it closes the old socket.
  CloseRetiredSocket(endpoint);
  if (endpoint.Bound) {
    endpoint.RetiredSocket = endpoint.Socket;
  } else if (endpoint.Socket != kInvalidSocket) {
    CloseSocket(endpoint.Socket);
  }
  endpoint.Socket = socket;
  endpoint.Port = port;
  endpoint.BindAddress = address;
  endpoint.LastSender = {};
  endpoint.Bound = true;
  endpoint.PortReserved = false;
  return PortChange::Moved;
}

bool RetryBind(UdpEndpoint& endpoint) {
  if (endpoint.Bound || endpoint.Socket == kInvalidSocket) return false;
  return MoveEndpoint(endpoint, endpoint.Port) == PortChange::Moved;
}

void CloseEndpoint(UdpEndpoint& endpoint) {
  CloseRetiredSocket(endpoint);
  if (endpoint.Socket == kInvalidSocket) return;
  CloseSocket(endpoint.Socket);
  endpoint.Socket = kInvalidSocket;
  endpoint.Bound = false;
}

void CloseRetiredSocket(UdpEndpoint& endpoint) {
  if (endpoint.RetiredSocket == kInvalidSocket) return;
  CloseSocket(endpoint.RetiredSocket);
  endpoint.RetiredSocket = kInvalidSocket;
}

namespace {

bool ReceiveInto(UdpEndpoint& endpoint, SocketHandle socket) {
  if (socket == kInvalidSocket) return false;
  PeerAddress sender;
  const auto length = ReceiveFrom(socket, endpoint.RecvBuffer.data(), endpoint.RecvBuffer.size(), sender);
  if (!length) return false;
  endpoint.RecvLength = *length;
  endpoint.LastSender = sender;
  return true;
}

}  // namespace

bool ReceiveDatagram(UdpEndpoint& endpoint) { return ReceiveInto(endpoint, endpoint.Socket); }

bool ReceiveRetiredDatagram(UdpEndpoint& endpoint) { return ReceiveInto(endpoint, endpoint.RetiredSocket); }

bool SendToPeer(const UdpEndpoint& endpoint, const std::uint8_t* data, std::size_t size) {
  if (endpoint.Socket == kInvalidSocket || endpoint.LastSender.Port == 0) return false;
  return SendTo(endpoint.Socket, data, size, endpoint.LastSender);
}
