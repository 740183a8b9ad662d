#pragma once
#include <chrono>
#include <deque>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "bridge/operator_notice.h"
#include "host/host_call.h"
#include "host/host_link.h"

// How long the bridge leaves a Tolm that failed a call before it attaches
// again: a Tolm that refuses every call costs one failure, not ten a second.
inline constexpr std::chrono::seconds kReattachDelay{3};

// Tolm as the bridge works with it: attached or not (the HostLink it is
// handed says), how it has been answering, the wait after a failed call, and
// an entry still to be emptied after a failed save. The operator hears of an
// outage once, through the notices it is handed.
class HostSession {
 public:
  using Notices = std::deque<OperatorNotice>;

  // Attaches a detached host, unless within the wait after a failed call. A
  // host that has just attached first has its entry emptied, where a failed
  // save left its texts there, and is then brought up to date; those calls
  // run as Run runs them. An attach that holds ends the outage.
  template <typename BringUpToDate>
  void Attach(HostLink& host, Clock::TimePoint now, Notices& notices, BringUpToDate bring_up_to_date) {
    if (Waiting(now)) return;
    host.AttachHost();
    if (!host.IsAttached()) return;
    Run(host, now, notices, [&] {
      EmptyEntryLeftBehind(host);
      bring_up_to_date();
    });
    if (host.IsAttached()) outage_ = false;
  }

  // Runs one piece of host work. A failing call ends that piece alone: the
  // host is let go of and left alone for kReattachDelay, and the operator is
  // told once per outage (not at all when a contact's save failed: that
  // contact's own notice says so).
  template <typename Work>
  void Run(HostLink& host, Clock::TimePoint now, Notices& notices, Work work) {
    try {
      work();
    } catch (const HostCallError& error) {
      LetGo(host, error, now, notices);
    }
  }

  // A contact's save failed: its notice is the word of this outage, and its
  // texts may be in Tolm's entry still, so that the next attach empties it
  // before anything else, until that has gone through.
  void SaveFailed() { outage_ = entry_to_empty_ = true; }

  // A Tolm that quit while nothing was sent to it is let go of without a
  // word, so that the next tick attaches again; not within the wait after a
  // failed call, whose outage speaks for it.
  void LetGoIfGone(HostLink& host, Clock::TimePoint now);

  // Tolm saved a contact at `now`; the first save after 00:00 UTC starts
  // the count again.
  void Saved(std::string_view call, Clock::TimePoint now);
  // The last contact Tolm saved, when, and how many on that UTC day since
  // the program started.
  const std::string& LastSavedCall() const { return last_saved_call_; }
  Clock::TimePoint LastSavedAt() const { return last_saved_at_; }
  int SavedCount() const { return saved_count_; }

  // A call failed and no attach has worked since.
  bool Outage() const { return outage_; }
  // Within the outage's wait: a call failed a moment ago and Tolm is left
  // alone for a while.
  bool NotAnswering(Clock::TimePoint now) const { return outage_ && Waiting(now); }
  // While Outage: the failed call and why ("ExecMacro: Broken pipe").
  const std::string& Failure() const { return failure_; }

 private:
  bool Waiting(Clock::TimePoint now) const { return WithinSpan(now, failed_at_, kReattachDelay); }
  void LetGo(HostLink& host, const HostCallError& error, Clock::TimePoint now, Notices& notices);
  void EmptyEntryLeftBehind(HostLink& host);

  bool outage_ = false;
  std::string failure_;
  Clock::TimePoint failed_at_;  // the last failed call: no attach for kReattachDelay after it
  bool entry_to_empty_ = false;
  std::string last_saved_call_;
  Clock::TimePoint last_saved_at_;
  int saved_count_ = 0;
};
