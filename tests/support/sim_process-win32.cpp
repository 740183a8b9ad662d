#include "sim_process-win32.h"

#include <atomic>

namespace {

// Long enough for a slow Wine to revoke and unregister; only a guard
// against a hang, never a measurement.
constexpr DWORD kStopGuardMs = 60000;

std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

HANDLE InheritableFile(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

SimProcess::SimProcess(const std::filesystem::path& dir) : dir_(dir) {
  static std::atomic<int> serial = 0;
  const std::wstring event_name =
      L"Local\\relvan-tolm-sim-stop-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
  stop_ = CreateEventW(nullptr, TRUE, FALSE, event_name.c_str());
  if (stop_ == nullptr) return;

  // CMake names the program with forward slashes; rooted paths without a
  // drive resolve on the current drive, as they do under Wine's Z:.
  const std::filesystem::path program = std::filesystem::path(TOLM_SIM_PATH).make_preferred();
  std::wstring command = Quoted(program) + L" --transcript " + Quoted(dir_ / "transcript.txt") + L" --adif " +
                         Quoted(dir_ / "log.adi") + L" --stop-event " + event_name;

  HANDLE out = InheritableFile(dir_ / "stdout.txt");
  HANDLE err = InheritableFile(dir_ / "stderr.txt");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, dir_.c_str(), &startup,
                     &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
  }
  CloseHandle(out);
  CloseHandle(err);
}

SimProcess::~SimProcess() {
  if (process_ != nullptr) Stop();
  if (stop_ != nullptr) CloseHandle(stop_);
}

bool SimProcess::Running() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

int SimProcess::Stop() {
  if (process_ == nullptr) return -1;
  SetEvent(stop_);
  int code = -1;
  if (WaitForSingleObject(process_, kStopGuardMs) == WAIT_OBJECT_0) {
    DWORD exit_code = 0;
    GetExitCodeProcess(process_, &exit_code);
    code = static_cast<int>(exit_code);
  } else {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, kStopGuardMs);
  }
  CloseHandle(process_);
  process_ = nullptr;
  return code;
}

std::string SimProcess::Transcript() const { return FileBytes(dir_ / "transcript.txt"); }
std::string SimProcess::Stderr() const { return FileBytes(dir_ / "stderr.txt"); }
