#pragma once
#include <chrono>

// A moment in UTC, to the millisecond, as JTDX's date-time fields carry it and
// the logs write it.
using UtcTime = std::chrono::sys_time<std::chrono::milliseconds>;

// The time of day in UTC, handed to the poll tick so that tests step it
// instead of sleeping. The program reads the system's clock.
class Clock {
 public:
  using TimePoint = std::chrono::system_clock::time_point;

  virtual ~Clock() = default;
  virtual TimePoint Now() const = 0;
};

// Whether `now` falls in the span that began at `start` and lasts `span`.
// A clock set back before `start` ends the span rather than stretching it:
// every wait, interval and deadline of the bridge is counted so.
inline bool WithinSpan(Clock::TimePoint now, Clock::TimePoint start, Clock::TimePoint::duration span) {
  return now >= start && now - start < span;
}

class SystemClock : public Clock {
 public:
  TimePoint Now() const override { return std::chrono::system_clock::now(); }
};
