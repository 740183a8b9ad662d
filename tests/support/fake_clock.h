#pragma once
#include <chrono>

#include "core/clock.h"

// A clock that stands still until a test moves it: 2024-06-01 18:40 UTC.
class FakeClock : public Clock {
 public:
  TimePoint Now() const override { return now; }
  void Advance(TimePoint::duration step) { now += step; }

  TimePoint now =
      std::chrono::sys_days{std::chrono::year{2024} / 6 / 1} + std::chrono::hours{18} + std::chrono::minutes{40};
};
