#include <winsock2.h>

#include "socket_wait.h"

bool WaitForDatagram(SocketHandle socket) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(static_cast<SOCKET>(socket), &readable);
  timeval timeout{5, 0};
  return ::select(0, &readable, nullptr, nullptr, &timeout) == 1;
}
