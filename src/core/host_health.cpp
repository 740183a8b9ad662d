#include "core/host_health.h"

bool HostHealth::CallFailed(const std::string& failure, Clock::TimePoint now) {
  NextAttachAt = now + kReattachDelay;
  Failure = failure;
  const bool starts = !Outage;
  Outage = true;
  return starts;
}
