#include "host/peer_user-posix.h"

#include <sys/socket.h>

bool PeerRunsAs(int fd, uid_t user) {
  ucred peer{};
  socklen_t length = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer && peer.uid == user;
}
