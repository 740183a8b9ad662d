#pragma once
#include <cstdint>
#include <optional>

#include "core/socket_handle.h"

// The local port a socket is bound to, as the system reports it.
std::optional<std::uint16_t> BoundPort(SocketHandle socket);
