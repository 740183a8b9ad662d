// Relvan.exe: the bridge's Windows program. A dialog application: the main
// dialog runs modally for the whole life of the process.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/relvan_app.h"
#include "bridge/net.h"
#include "host/platform_host.h"
#include "ui/win32/window_port-win32.h"

namespace {

// In static storage, so that every way out, the exit codes 10 and 11 from
// inside a dialog included, destroys it and releases Tolm's interface; the
// sockets first, so that they outlive it.
SystemNet theNet;
CRelvanApp theApp(MakePlatformHostLink(), theNet, SettingsFolder::InWorkingDirectory());

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  DesktopModalRunner runner(instance);
  theApp.InitInstance(runner);
  for (const std::string& message : theApp.TakeEndMessages()) ShowMessageAlone(message);
  return 0;
}
