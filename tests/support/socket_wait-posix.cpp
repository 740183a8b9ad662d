#include <poll.h>

#include "socket_wait.h"

bool WaitForDatagram(SocketHandle socket) {
  pollfd entry{static_cast<int>(socket), POLLIN, 0};
  return ::poll(&entry, 1, 5000) == 1 && (entry.revents & POLLIN) != 0;
}
