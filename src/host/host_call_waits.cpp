#include "host/host_call_waits.h"

std::optional<HostCallWaits::Ms> HostCallWaits::Refused(bool busy, Ms elapsed) {
  if (!busy || probe_ || busy_waited_ >= kBusyBudget || elapsed + kBusyRetryInterval > call_limit_) return std::nullopt;
  busy_waited_ += kBusyRetryInterval;
  attempt_sent_at_ = elapsed + kBusyRetryInterval;
  return kBusyRetryInterval;
}
