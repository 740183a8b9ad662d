#pragma once
#include "bridge/net.h"

// Waits a bounded while (a few seconds) until a datagram is waiting on the
// socket, without taking it; false when none came. Lets a test run a tick
// exactly when the datagram it sent has arrived.
bool WaitForDatagram(SocketHandle socket);
