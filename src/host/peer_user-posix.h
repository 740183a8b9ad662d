#pragma once

// Whether the process at the other end of a connected Unix socket runs as
// this process's user. Both ends of the substitute host's socket refuse
// anyone else.
[[nodiscard]] bool PeerIsOurUser(int fd);
