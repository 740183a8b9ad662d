#include "link/endpoint.h"

#include "link/socket_ops.h"

bool StartSockets() { return StartSocketLibrary(); }
void StopSockets() { CleanupSocketLibrary(); }

EndpointStatus OpenEndpoint(BridgeState& state, const std::function<void()>& caller_step) {
  // Never two sockets at once: a second one could not bind the same port.
  CloseEndpoint(state);
  state.UdpSocket = CreateUdpSocket();
  if (state.UdpSocket == kInvalidSocket) return EndpointStatus::NoSocket;
  state.BindAddress = {kLoopbackIp, static_cast<std::uint16_t>(state.UdpPort)};
  state.LastSender = {};
  if (caller_step) caller_step();
  const BindResult bind = BindSocket(state.UdpSocket, state.BindAddress);
  state.EndpointBound = bind == BindResult::Bound;
  state.PortReserved = bind == BindResult::Reserved;
  return MakeNonBlocking(state.UdpSocket) ? EndpointStatus::Open : EndpointStatus::Blocking;
}

PortChange MoveEndpoint(BridgeState& state, int port) {
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
  CloseRetiredSocket(state);
  if (state.EndpointBound) {
    state.RetiredSocket = state.UdpSocket;
  } else if (state.UdpSocket != kInvalidSocket) {
    CloseSocket(state.UdpSocket);
  }
  state.UdpSocket = socket;
  state.UdpPort = port;
  state.BindAddress = address;
  state.LastSender = {};
  state.EndpointBound = true;
  state.PortReserved = false;
  return PortChange::Moved;
}

bool RetryBind(BridgeState& state) {
  if (state.EndpointBound || state.UdpSocket == kInvalidSocket) return false;
  return MoveEndpoint(state, state.UdpPort) == PortChange::Moved;
}

void CloseEndpoint(BridgeState& state) {
  CloseRetiredSocket(state);
  if (state.UdpSocket == kInvalidSocket) return;
  CloseSocket(state.UdpSocket);
  state.UdpSocket = kInvalidSocket;
  state.EndpointBound = false;
}

void CloseRetiredSocket(BridgeState& state) {
  if (state.RetiredSocket == kInvalidSocket) return;
  CloseSocket(state.RetiredSocket);
  state.RetiredSocket = kInvalidSocket;
}

namespace {

bool ReceiveInto(BridgeState& state, SocketHandle socket) {
  if (socket == kInvalidSocket) return false;
  PeerAddress sender;
  const auto length = ReceiveFrom(socket, state.RecvBuffer.data(), state.RecvBuffer.size(), sender);
  if (!length) return false;
  state.RecvLength = *length;
  state.LastSender = sender;
  return true;
}

}  // namespace

bool ReceiveDatagram(BridgeState& state) { return ReceiveInto(state, state.UdpSocket); }

bool ReceiveRetiredDatagram(BridgeState& state) { return ReceiveInto(state, state.RetiredSocket); }

void SendToPeer(const BridgeState& state, const std::uint8_t* data, std::size_t size) {
  if (state.UdpSocket == kInvalidSocket || state.LastSender.Port == 0) return;
  SendTo(state.UdpSocket, data, size, state.LastSender);
}
