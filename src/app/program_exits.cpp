#include "app/program_exits.h"

#include <cstdio>
#include <cstdlib>

#include "link/endpoint.h"

namespace {

[[noreturn]] void ExitWithCode(int code) {
  StopSockets();
  std::exit(code);
}

}  // namespace

void ProgramExits::SocketsDidNotStart() { ExitWithCode(kExitSocketsFailed); }
void ProgramExits::NoSocket() { ExitWithCode(kExitNoSocket); }

void ProgramExits::SocketStaysBlocking() {
  std::printf("failed to set non-blocking socket\n");
  std::fflush(stdout);
}
