#include "sim_process-posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

SimProcess::SimProcess(const std::filesystem::path& dir, std::vector<std::string> extra_args) : dir_(dir) {
  std::vector<std::string> args{TOLM_SIM_PATH, "--adif", AdifPath().string(), "--transcript",
                                (dir_ / "transcript.txt").string()};
  args.insert(args.end(), extra_args.begin(), extra_args.end());
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string out = (dir_ / "stdout.txt").string();
  const std::string err = (dir_ / "stderr.txt").string();

  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out_fd < 0 || err_fd < 0 || dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
}

SimProcess::~SimProcess() {
  if (pid_ > 0) Stop(SIGKILL);
}

namespace {

// A socket file alone may be stale; only a connect shows that someone serves.
bool Accepts(const std::string& socket_path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket_path.c_str(), sizeof address.sun_path - 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

}  // namespace

bool SimProcess::WaitUntilServing(const std::string& socket_path) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < give_up) {
    if (Accepts(socket_path)) return true;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

int SimProcess::Stop(int signal) {
  if (pid_ > 0) kill(pid_, signal);
  return Wait();
}

int SimProcess::Wait() {
  // A tolm-sim that should have ended but still runs fails the test rather
  // than hanging it.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  int status = -1;
  while (pid_ > 0) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
    } else if (std::chrono::steady_clock::now() > give_up) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
      return -1;
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  return status;
}

std::string SimProcess::Transcript() const { return FileBytes(dir_ / "transcript.txt"); }
std::string SimProcess::Stdout() const { return FileBytes(dir_ / "stdout.txt"); }
std::string SimProcess::Stderr() const { return FileBytes(dir_ / "stderr.txt"); }
