#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "read_file.h"

// A tolm-sim started from the test, in dir: its ADIF log, transcript, stdout
// and stderr all go there. It serves at the address the environment names
// (XDG_RUNTIME_DIR), like the real one.
class SimProcess {
 public:
  SimProcess(const std::filesystem::path& dir, std::vector<std::string> extra_args = {});
  ~SimProcess();  // SIGKILL if still running
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Waits (up to 10 s) until the socket accepts a connection, or for the
  // process to end; true when it serves.
  bool WaitUntilServing(const std::string& socket_path);
  // Sends the signal and waits for the end; returns the wait status.
  int Stop(int signal);
  // Waits (up to 10 s, then kills it) for the end of a process that ends by
  // itself; returns the wait status, or -1 when it had to be killed.
  int Wait();

  std::filesystem::path AdifPath() const { return dir_ / "log.adi"; }
  std::string Transcript() const;
  std::string Stdout() const;
  std::string Stderr() const;

 private:
  std::filesystem::path dir_;
  pid_t pid_ = -1;
};
