#pragma once
#include <windows.h>

#include <filesystem>
#include <string>

#include "read_file.h"

// A tolm-sim.exe started from the test, with its ADIF log, transcript,
// stdout and stderr in dir. It is told to stop through a named event of its
// own, so it revokes its object and unregisters its class on the way out.
class SimProcess {
 public:
  explicit SimProcess(const std::filesystem::path& dir);
  ~SimProcess();  // stops it, and ends it by force if it does not go
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  bool Running() const;
  // Signals the stop event and waits (bounded) for the end; the exit code,
  // or -1 when it had to be ended by force.
  int Stop();

  std::string Transcript() const;
  std::string Stderr() const;

 private:
  std::filesystem::path dir_;
  HANDLE stop_ = nullptr;
  HANDLE process_ = nullptr;
};
