#pragma once
#include <cstdint>
#include <optional>

#include "bridge/net.h"

// What the system reports of a socket.

// The local address and port it is bound to.
std::optional<PeerAddress> BoundAddress(SocketHandle socket);
// The size of its receive queue in bytes, as the system counts it.
int ReceiveQueueBytes(SocketHandle socket);
// Whether no other socket may bind its port beside it: on Windows
// SO_EXCLUSIVEADDRUSE is set, on POSIX neither SO_REUSEADDR nor SO_REUSEPORT.
bool BoundForItselfAlone(SocketHandle socket);
// Whether it is bound on all addresses with SO_REUSEADDR, and on Linux with
// IP_MULTICAST_ALL off: a reader of the groups it joined, beside others.
bool SharesItsPortOnAllAddresses(SocketHandle socket);
