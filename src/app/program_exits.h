#pragma once
#include <string>

#include "bridge/net.h"
#include "ui/socket_failures.h"

inline constexpr int kExitSocketsFailed = 10;  // the platform's sockets did not start
inline constexpr int kExitNoSocket = 11;       // no socket could be created

// How the program meets the socket failures of its dialogs: it ends at once,
// letting go of the platform's sockets and then through the standard
// library's exit so that process-wide objects are destroyed (and an attached
// host released), with exit code 10 or 11 and nothing shown; a socket that
// would block is reported in one line on standard output. Where the dialogs
// own the terminal that line waits until they are gone (PrintHeldLines), so
// that it is not written into the screen.
class ProgramExits : public SocketFailures {
 public:
  enum class Lines { Now, AtEnd };
  explicit ProgramExits(Net& net, Lines when = Lines::Now) : net_(net), when_(when) {}

  [[noreturn]] void SocketsDidNotStart() override;
  [[noreturn]] void NoSocket() override;
  void ReportBlockingSocket() override;

  // Prints the lines held back until now.
  void PrintHeldLines();

 private:
  [[noreturn]] void ExitWithCode(int code);
  void Print(const char* line);

  Net& net_;
  Lines when_;
  std::string held_;
};
