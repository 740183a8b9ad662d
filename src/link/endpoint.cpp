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
  state.EndpointBound = BindSocket(state.UdpSocket, state.BindAddress);
  return MakeNonBlocking(state.UdpSocket) ? EndpointStatus::Open : EndpointStatus::Blocking;
}

PortChange MoveEndpoint(BridgeState& state, int port) {
  const SocketHandle socket = CreateUdpSocket();
  if (socket == kInvalidSocket) return PortChange::NoSocket;
  const PeerAddress address{kLoopbackIp, static_cast<std::uint16_t>(port)};
  if (!BindSocket(socket, address)) {
    CloseSocket(socket);
    return PortChange::PortHeld;
  }
  if (!MakeNonBlocking(socket)) {
    CloseSocket(socket);
    return PortChange::Blocking;
  }
  CloseEndpoint(state);
  state.UdpSocket = socket;
  state.UdpPort = port;
  state.BindAddress = address;
  state.LastSender = {};
  state.EndpointBound = true;
  return PortChange::Moved;
}

void CloseEndpoint(BridgeState& state) {
  if (state.UdpSocket == kInvalidSocket) return;
  CloseSocket(state.UdpSocket);
  state.UdpSocket = kInvalidSocket;
  state.EndpointBound = false;
}

bool ReceiveDatagram(BridgeState& state) {
  if (state.UdpSocket == kInvalidSocket) return false;
  PeerAddress sender;
  const auto length = ReceiveFrom(state.UdpSocket, state.RecvBuffer.data(), state.RecvBuffer.size(), sender);
  if (!length) return false;
  state.RecvLength = *length;
  state.LastSender = sender;
  return true;
}

void SendToPeer(const BridgeState& state, const std::uint8_t* data, std::size_t size) {
  if (state.UdpSocket == kInvalidSocket || state.LastSender.Port == 0) return;
  SendTo(state.UdpSocket, data, size, state.LastSender);
}
