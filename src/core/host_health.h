#pragma once
#include <chrono>
#include <string>

#include "core/clock.h"

// How long the bridge leaves a Tolm that failed a call before it attaches
// again: a Tolm that refuses every call costs one failure, not ten a second.
inline constexpr std::chrono::seconds kReattachDelay{3};

// How Tolm has been answering.
struct HostHealth {
  bool Outage = false;            // a call failed and no attach has worked since
  std::string Failure;            // while Outage: the failed call and why ("ExecMacro: Broken pipe")
  Clock::TimePoint NextAttachAt;  // after a failed call, no attach before this
  // A contact's save failed with its texts in Tolm's entry: the next attach
  // empties the entry before anything else, until that has gone through, so
  // that no text of it rides on the next contact.
  bool EntryToEmpty = false;

  // A call failed at `now`; true when this starts an outage (the operator is
  // told once per outage).
  bool CallFailed(const std::string& failure, Clock::TimePoint now);
  // Within the wait after a failed call. A clock set back must not hold the
  // next attach off for longer than the delay.
  bool Waiting(Clock::TimePoint now) const { return now < NextAttachAt && NextAttachAt - now <= kReattachDelay; }
};
