#include "host/host_socket_path-posix.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

std::string DefaultHostSocketPath() {
  const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
  if (runtime_dir != nullptr && *runtime_dir != '\0') return std::string(runtime_dir) + "/Tolm2.Application.sock";
  return "/tmp/Tolm2.Application-" + std::to_string(getuid()) + ".sock";
}

bool PeerRunsAs(int fd, uid_t user) {
  ucred peer{};
  socklen_t length = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer && peer.uid == user;
}
