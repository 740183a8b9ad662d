#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "fake_clock.h"

#include "host/host_call.h"
#include "host/host_link.h"

// A HostLink that writes each call as a transcript line instead of calling a
// host. It can start detached (AttachAvailable decides whether the next
// attempt succeeds) and can fail every call after the first FailAfter, as
// refused or, with FailMayHaveRun, as carried out with the answer lost.
// Given a WaitClock, HangFor makes every call wait that long on it (cut at the
// limit LimitCalls set) and then fail as unanswered.
class RecordingHost : public HostLink {
 public:
  explicit RecordingHost(bool attached = true) : attached_(attached) {}

  void AttachHost() override;
  bool IsAttached() const override { return attached_; }
  void DetachHost() override {
    attached_ = false;
    ++Detaches;
  }
  bool StillThere() override { return attached_ && !Gone; }
  void ExecMacro(std::string_view text) override;
  void SetLogField(LogField field, std::string_view text) override;
  void TxFrequency(double hz) override;
  void RxFrequency(double hz) override;
  void LimitCalls(std::chrono::milliseconds left) override;

  // The calls made so far, one line each; Take() also forgets them.
  const std::vector<std::string>& Lines() const { return lines_; }
  std::vector<std::string> Take();

  bool AttachAvailable = true;
  int AttachAttempts = 0;
  int Detaches = 0;
  int FailAfter = -1;  // calls that succeed before every call fails; -1 never
  bool FailMayHaveRun = false;
  bool Gone = false;  // the host has quit: StillThere says so (calls are still recorded)
  FakeClock* WaitClock = nullptr;
  std::chrono::milliseconds HangFor{0};

 private:
  void Record(const HostCall& call);

  bool attached_;
  std::vector<std::string> lines_;
  int calls_ = 0;
  std::optional<::Clock::TimePoint> calls_end_;
};
