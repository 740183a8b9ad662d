#pragma once
#include <chrono>
#include <optional>

// How long a call waits on a host that is busy or hangs, for the binding's
// message filter (host/message_filter-win32.h) and testable without COM.
//
// A host that is busy for a moment (a modal dialog open in Tolm) refuses a
// call with "retry later": the call is tried again every kBusyRetryInterval
// while one tick's host work has spent less than kBusyBudget in such waits.
// A call that the host took but does not answer is given up kAnswerLimit
// after it was (last) sent, as the Linux binding gives up on its socket. At
// the end of the program a call has only the time the end has left, busy
// retries included. A call refused outright, or given up, fails as any
// failed call does.
class HostCallWaits {
 public:
  using Ms = std::chrono::milliseconds;
  static constexpr Ms kBusyRetryInterval{250};
  static constexpr Ms kBusyBudget{10'000};
  static constexpr Ms kAnswerLimit{5'000};

  // A tick's host work begins: its busy waits start from nothing.
  void StartTickWork() { busy_waited_ = Ms{0}; }
  // A call is made (elapsed times below count from now), to be given up
  // `limit` from now whatever else it waits for.
  void StartCall(Ms limit = Ms::max()) {
    attempt_sent_at_ = Ms{0};
    call_limit_ = limit;
  }

  // The host refused the call `elapsed` after it was made, busy (retry
  // later) or outright: how long until it is tried again, or nothing when
  // the call fails now.
  [[nodiscard]] std::optional<Ms> Refused(bool busy, Ms elapsed);

  // A message arrived while the call made `elapsed` ago waits for its
  // answer: whether to give the call up.
  [[nodiscard]] bool GiveUpWaiting(Ms elapsed) const {
    return elapsed - attempt_sent_at_ >= kAnswerLimit || elapsed >= call_limit_;
  }

 private:
  Ms busy_waited_{0};
  Ms attempt_sent_at_{0};
  Ms call_limit_ = Ms::max();
};
