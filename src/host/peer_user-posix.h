#pragma once
#include <sys/types.h>

// Whether the process at the other end of a connected Unix socket runs as
// user (this process's own, geteuid(), for both ends of the substitute
// host's socket, which refuse anyone else).
[[nodiscard]] bool PeerRunsAs(int fd, uid_t user);
