#include "link/endpoint.h"

#include "link/socket_ops.h"

bool StartSockets() { return StartSocketLibrary(); }
void StopSockets() { CleanupSocketLibrary(); }

EndpointStatus OpenEndpoint(BridgeState& state, const std::function<void()>& caller_step) {
  // Never two sockets at once: a second one could not bind the same port.
  CloseEndpoint(state);
  state.UdpSocket = CreateUdpSocket();
  if (state.UdpSocket == kInvalidSocket) return EndpointStatus::NoSocket;
  // No range check: the low 16 bits of the configured number are the port.
  state.BindAddress = {kLoopbackIp, static_cast<std::uint16_t>(state.UdpPort & 0xFFFF)};
  state.LastSender = {};
  if (caller_step) caller_step();
  state.EndpointBound = BindSocket(state.UdpSocket, state.BindAddress);
  return MakeNonBlocking(state.UdpSocket) ? EndpointStatus::Open : EndpointStatus::Blocking;
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
