#pragma once
#include <sys/types.h>

#include <string>

// The substitute host's Unix socket: where it listens, and who may be at
// either end of it.

// $XDG_RUNTIME_DIR/Tolm2.Application.sock, or /tmp/Tolm2.Application-<uid>.sock
// when XDG_RUNTIME_DIR is unset or empty.
std::string DefaultHostSocketPath();

// Whether the process at the other end of a connected Unix socket runs as
// user (this process's own, geteuid(), for both ends of the substitute
// host's socket, which refuse anyone else).
[[nodiscard]] bool PeerRunsAs(int fd, uid_t user);
