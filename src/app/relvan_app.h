#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/program_exits.h"
#include "bridge/bridge.h"
#include "bridge/net.h"
#include "core/clock.h"
#include "host/host_link.h"
#include "settings/settings_file.h"
#include "ui/window_port.h"

// The application: the process-wide state and the link to the host, on the
// sockets it is handed (which outlive it), and the main dialog run modally
// for the whole life of the program. It decides how the program ends when
// the dialogs' sockets fail. The program keeps its one instance in static
// storage, so that every way out, the exit codes included, destroys it and
// so releases the host.
class CRelvanApp {
 public:
  CRelvanApp(std::unique_ptr<HostLink> host, Net& net, SettingsFolder settings,
             ProgramExits::Lines lines = ProgramExits::Lines::Now);

  // Runs the main dialog until it ends. Always false: there is no message
  // loop of the application's own, the program ends with the dialog.
  bool InitInstance(ModalRunner& runner);

  // What the end left to tell, one message box's text each (a contact kept
  // nowhere, one Tolm may have saved, those queued behind a box), taken: the
  // front end shows them once its window has gone.
  std::vector<std::string> TakeEndMessages() { return std::exchange(end_messages_, {}); }

  HostLink& Host() { return *host_; }
  ProgramExits& Exits() { return exits_; }

 private:
  // Destroyed in reverse order: the bridge first, the host link last.
  std::unique_ptr<HostLink> host_;
  SettingsFolder settings_;
  SystemClock clock_;
  Bridge bridge_;
  ProgramExits exits_;
  std::vector<std::string> end_messages_;
};
