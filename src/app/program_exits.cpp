#include "app/program_exits.h"

#include <cstdio>
#include <cstdlib>

#include "ui/texts.h"

void ProgramExits::ExitWithCode(int code) {
  net_.CleanupSocketLibrary();
  std::exit(code);
}

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
