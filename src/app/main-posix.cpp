// relvan on Linux: the bridge's dialogs in the terminal, beside tolm-sim.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "app/relvan_app.h"
#include "bridge/net.h"
#include "host/platform_host.h"
#include "ui/tui/terminal_desktop.h"
#include "ui/tui/terminal_screen.h"
#include "ui/tui/terminal_texts.h"

namespace {

// Exits with these before the terminal is taken; the bridge's own exit
// codes (10 and 11) come from inside the run.
constexpr int kExitNoTerminal = 1;
constexpr int kExitArguments = 2;

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    std::fprintf(stderr, "relvan: %s\n", texts::kTakesNoArguments);
    return kExitArguments;
  }
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    std::fprintf(stderr, "relvan: %s\n", texts::kNeedsATerminal);
    return kExitNoTerminal;
  }
  (void)argv;
  // The dialogs' texts and the fields are UTF-8; the terminal's locale says
  // how to show them.
  std::setlocale(LC_ALL, "");

  // Static, so that the exit codes' exit() destroys it too and lets go of
  // the host; the sockets first, so that they outlive it.
  static SystemNet net;
  static CRelvanApp app(MakePlatformHostLink(), net, SettingsFolder::InWorkingDirectory(), ProgramExits::Lines::AtEnd);
  TerminalScreen screen;
  std::string reason;
  if (!screen.Open(reason)) {
    std::fprintf(stderr, "relvan: %s\n", reason.c_str());
    return kExitNoTerminal;
  }
  {
    TerminalDesktop desktop(screen);
    app.InitInstance(desktop);
  }
  // What the dialogs had to say on standard output, now that the screen is
  // the terminal's again.
  screen.Close();
  app.Exits().PrintHeldLines();
  for (const std::string& message : app.TakeEndMessages()) std::fprintf(stderr, "relvan: %s\n", message.c_str());
  return 0;
}
