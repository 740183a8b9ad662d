#include "app/program_exits.h"

#include <cstdio>
#include <cstdlib>

#include "bridge/endpoint.h"
#include "ui/texts.h"

namespace {

[[noreturn]] void ExitWithCode(int code) {
  StopSockets();
  std::exit(code);
}

}  // namespace

void ProgramExits::SocketsDidNotStart() { ExitWithCode(kExitSocketsFailed); }
void ProgramExits::NoSocket() { ExitWithCode(kExitNoSocket); }

void ProgramExits::ReportBlockingSocket() { Print(texts::kBlockingSocketLine); }

void ProgramExits::Print(const char* line) {
  if (when_ == Lines::AtEnd) {
    held_ += line;
    return;
  }
  std::fputs(line, stdout);
  std::fflush(stdout);
}

void ProgramExits::PrintHeldLines() {
  std::fputs(held_.c_str(), stdout);
  std::fflush(stdout);
  held_.clear();
}
