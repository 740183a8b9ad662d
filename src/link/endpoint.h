#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/bridge_state.h"

// The bridge's one UDP socket, bound to 127.0.0.1 on the low 16 bits of
// UdpPort and switched to non-blocking mode, so that no tick ever waits.

inline constexpr int kExitSocketsFailed = 10;  // the platform's sockets did not start
inline constexpr int kExitNoSocket = 11;       // no socket could be created

// Starts the platform's sockets (Winsock 2.2); ends the process with exit
// code 10 when they cannot start. Nothing to do on POSIX.
void StartSockets();

// Ends the process through the standard library's exit, after the sockets'
// clean-up, so that process-wide objects are destroyed.
[[noreturn]] void ExitWithCode(int code);

// Closes an endpoint that is still open, then: a new socket (exit code 11
// when there is none), BindAddress set to 127.0.0.1 and the port, the caller's
// own step, the bind (its outcome kept in EndpointBound), the non-blocking
// switch. Returns false, after printing "failed to set non-blocking socket\n"
// to standard output, when the switch failed.
bool OpenEndpoint(BridgeState& state, const std::function<void()>& caller_step);

// Closes the socket; does nothing when it is closed already.
void CloseEndpoint(BridgeState& state);

// Takes at most one waiting datagram, whole, into RecvBuffer and its sender
// into LastSender, without waiting. Returns false when none was taken (nothing
// waiting, endpoint closed or unbound): the previous datagram stays current.
bool ReceiveDatagram(BridgeState& state);

// Sends bytes to LastSender from the endpoint; failures are ignored, and
// nothing goes out before a datagram has come in.
void SendToPeer(const BridgeState& state, const std::uint8_t* data, std::size_t size);
