// tolm-sim on Windows: the substitute Tolm as an OLE Automation server. It
// registers "Tolm2.Application" for the current user, puts its IDispatch
// object into the running object table where the bridge looks for Tolm, and
// serves calls on its single-threaded apartment until it is told to stop:
// Ctrl+C, closing the console, or the named event of --stop-event. With
// --import it adds an ADIF file's contacts to its log instead, and ends.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "com_registration-win32.h"
#include "core/file_path.h"
#include "core/utf16-win32.h"
#include "sim_dispatch-win32.h"
#include "sim_host.h"
#include "sim_import.h"

namespace {

// The substitute's own class: Tolm's ProgID pointing here while tolm-sim runs.
constexpr CLSID kSimClsid = {0x203d6720, 0xd040, 0x4de5, {0xb1, 0x45, 0x39, 0xfe, 0x9e, 0x6c, 0x68, 0x10}};

HANDLE g_stop = nullptr;      // set to end the message loop
HANDLE g_finished = nullptr;  // set once the object is revoked and the class unregistered

// Runs on a thread of its own. For a console close Windows ends the process
// when this returns, so it waits (briefly) for the cleanup first.
BOOL WINAPI OnConsoleControl(DWORD event) {
  SetEvent(g_stop);
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
    WaitForSingleObject(g_finished, 4000);
  return TRUE;
}

// Takes --stop-event NAME (or --stop-event=NAME) out of the command line and
// leaves the rest for ParseSimOptions.
bool TakeStopEvent(int argc, char** argv, std::vector<char*>& rest, std::string& name, std::string& reason) {
  rest.push_back(argv[0]);
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--stop-event") {
      if (i + 1 == argc) {
        reason = "--stop-event needs an event name";
        return false;
      }
      name = argv[++i];
    } else if (arg.starts_with("--stop-event=")) {
      name = arg.substr(std::strlen("--stop-event="));
    } else {
      rest.push_back(argv[i]);
      continue;
    }
    if (name.empty()) {
      reason = "--stop-event needs an event name";
      return false;
    }
  }
  return true;
}

// The command line in UTF-8, from its wide form: main's narrow argv is in
// the ANSI code page, which has no spelling for most file names.
std::vector<std::string> Utf8Arguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; wide != nullptr && i < count; ++i) arguments.push_back(Utf16ToUtf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

// Serves COM calls (they arrive as window messages in an STA) until stop is
// set or the thread gets WM_QUIT.
void ServeUntilStopped(HANDLE stop) {
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &stop, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) return;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

int Serve(const SimOptions& options, HANDLE stop) {
  std::string reason;
  std::shared_ptr<SimHost> host = SimHost::Open(options, reason);
  if (!host) {
    std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
    return 1;
  }
  ScopedClassRegistration registration;
  if (!registration.Register(L"Tolm2.Application", kSimClsid, L"tolm-sim, the substitute Tolm", reason)) {
    std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
    return 1;
  }
  IDispatch* object = CreateSimDispatch(host);
  int status = 0;
  {
    ScopedActiveObject active;
    if (active.Register(object, kSimClsid, reason)) {
      std::fprintf(stderr, "tolm-sim: Tolm2.Application is running, saving contacts to %s\n",
                   Utf8FromPath(options.AdifPath).c_str());
      ServeUntilStopped(stop);
    } else {
      std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
      status = 1;
    }
  }
  object->Release();
  return status;
}

}  // namespace

int main() {
  std::vector<std::string> arguments = Utf8Arguments();
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  const int argc = static_cast<int>(argv.size());
  std::vector<char*> rest;
  std::string stop_name;
  std::string reason;
  SimOptions options;
  if (!TakeStopEvent(argc, argv.data(), rest, stop_name, reason) ||
      !ParseSimOptions(static_cast<int>(rest.size()), rest.data(), options, reason)) {
    std::fprintf(stderr, "tolm-sim: %s\n(on Windows also: [--stop-event NAME], a named event that ends it)\n",
                 reason.c_str());
    return 2;
  }
  if (!options.ImportPath.empty()) {
    const auto print = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
    if (ImportAdifFile(options.ImportPath, options.AdifPath, print, reason)) return 0;
    std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
    return 1;
  }

  g_stop = stop_name.empty() ? CreateEventW(nullptr, TRUE, FALSE, nullptr)
                             : CreateEventW(nullptr, TRUE, FALSE, Utf8ToUtf16(stop_name).c_str());
  g_finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (g_stop == nullptr || g_finished == nullptr) {
    std::fprintf(stderr, "tolm-sim: cannot create the stop event (error %lu)\n", GetLastError());
    return 1;
  }
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);

  int status = 1;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::fprintf(stderr, "tolm-sim: COM did not start\n");
  } else {
    try {
      status = Serve(options, g_stop);
    } catch (const std::exception& failure) {
      std::fprintf(stderr, "tolm-sim: %s\n", failure.what());
    }
    CoUninitialize();
  }
  SetEvent(g_finished);
  return status;
}
