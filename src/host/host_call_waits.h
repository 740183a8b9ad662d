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
  // A check that the host is still there is never retried on a busy host,
  // and is given up sooner: no answer means busy, not gone.
  static constexpr Ms kProbeLimit{250};

  // A tick's host work begins: its busy waits start from nothing.
  void StartTickWork() { busy_waited_ = Ms{0}; }
  // A call is made (elapsed times below count from now), to be given up
  // `limit` from now whatever else it waits for.
  void StartCall(Ms limit = Ms::max()) { Start(kAnswerLimit, false, limit); }
  // A check that the host is still there is made, in place of a call.
  void StartProbe() { Start(kProbeLimit, true, Ms::max()); }

  // The host refused the call `elapsed` after it was made, busy (retry
  // later) or outright: how long until it is tried again, or nothing when
  // the call fails now.
  [[nodiscard]] std::optional<Ms> Refused(bool busy, Ms elapsed);

  // A message arrived while the call made `elapsed` ago waits for its
  // answer: whether to give the call up.
  [[nodiscard]] bool GiveUpWaiting(Ms elapsed) const {
    return elapsed - attempt_sent_at_ >= answer_limit_ || elapsed >= call_limit_;
  }

 private:
  void Start(Ms answer_limit, bool probe, Ms call_limit) {
    attempt_sent_at_ = Ms{0};
    answer_limit_ = answer_limit;
    probe_ = probe;
    call_limit_ = call_limit;
  }

  Ms busy_waited_{0};
  Ms attempt_sent_at_{0};
  Ms answer_limit_ = kAnswerLimit;
  bool probe_ = false;
  Ms call_limit_ = Ms::max();
};
