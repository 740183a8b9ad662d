#pragma once
#include <cstdint>

// A socket as both platforms hand it out: a Winsock SOCKET (an unsigned
// pointer-sized value whose invalid value is all ones) or a POSIX descriptor
// (invalid is -1). Both fit a signed pointer-sized integer with -1 invalid.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kInvalidSocket = -1;
