#pragma once
#include "ui/socket_failures.h"

inline constexpr int kExitSocketsFailed = 10;  // the platform's sockets did not start
inline constexpr int kExitNoSocket = 11;       // no socket could be created

// How the program meets the socket failures of its dialogs: it ends at once,
// through the standard library's exit so that process-wide objects are
// destroyed (and an attached host released), with exit code 10 or 11 and
// nothing shown; a socket that would block is reported in one line on
// standard output.
class ProgramExits : public SocketFailures {
 public:
  [[noreturn]] void SocketsDidNotStart() override;
  [[noreturn]] void NoSocket() override;
  void SocketStaysBlocking() override;
};
