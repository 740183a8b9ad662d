#include <gtest/gtest.h>

#include <optional>

#include "host/host_call_waits.h"

namespace {

using Ms = HostCallWaits::Ms;

// COM's side of a call to a host that says "retry later" until `busy_until`
// (time since the call was made): the call is sent again after each delay
// the filter grants. When the call went through, or when it failed.
struct CallOutcome {
  bool Done = false;
  Ms At{0};
};
CallOutcome CallBusyHost(HostCallWaits& waits, Ms busy_until) {
  waits.StartCall();
  Ms elapsed{0};
  while (elapsed < busy_until) {
    const std::optional<Ms> delay = waits.Refused(true, elapsed);
    if (!delay) return {false, elapsed};
    elapsed += *delay;
  }
  return {true, elapsed};
}

TEST(HostCallWaits, BusyHostIsTriedAgainUntilTheTickHasWaitedTenSeconds) {
  HostCallWaits waits;
  waits.StartTickWork();
  const CallOutcome first = CallBusyHost(waits, Ms(3'000));
  EXPECT_TRUE(first.Done);
  EXPECT_EQ(first.At, Ms(3'000));  // tried every 250 ms
  // The same tick's next call has the 7 s that are left, and no more.
  const CallOutcome second = CallBusyHost(waits, Ms(60'000));
  EXPECT_FALSE(second.Done);
  EXPECT_EQ(second.At, Ms(7'000));
  // A refusal that is not "busy" fails at once, whatever is left.
  waits.StartTickWork();
  waits.StartCall();
  EXPECT_FALSE(waits.Refused(false, Ms(0)));
  // The next tick has its 10 s again.
  waits.StartTickWork();
  EXPECT_EQ(CallBusyHost(waits, Ms(60'000)).At, Ms(10'000));
}

TEST(HostCallWaits, CallNotAnsweredIsGivenUpFiveSecondsAfterItWasSent) {
  HostCallWaits waits;
  waits.StartTickWork();
  waits.StartCall();
  EXPECT_FALSE(waits.GiveUpWaiting(Ms(4'999)));
  EXPECT_TRUE(waits.GiveUpWaiting(Ms(5'000)));
  // Sent again after a busy refusal: the 5 s count from then.
  ASSERT_TRUE(waits.Refused(true, Ms(1'000)));
  EXPECT_FALSE(waits.GiveUpWaiting(Ms(6'000)));
  EXPECT_TRUE(waits.GiveUpWaiting(Ms(6'250)));
  // The next call has its own 5 s.
  waits.StartCall();
  EXPECT_FALSE(waits.GiveUpWaiting(Ms(1'000)));
}

TEST(HostCallWaits, ProbeOfABusyOrSilentHostEndsAtOnceOrAfterAQuarterSecond) {
  HostCallWaits waits;
  waits.StartTickWork();
  waits.StartProbe();
  EXPECT_FALSE(waits.Refused(true, Ms(0)));
  EXPECT_FALSE(waits.GiveUpWaiting(Ms(249)));
  EXPECT_TRUE(waits.GiveUpWaiting(Ms(250)));
  // The next call waits as long as any call.
  waits.StartCall();
  EXPECT_FALSE(waits.GiveUpWaiting(Ms(4'999)));
  EXPECT_TRUE(waits.Refused(true, Ms(0)));
}

// The end of the program gives each call only the time it has left.
TEST(HostCallWaits, CallAtTheEndIsGivenUpWhenTheEndsTimeIsUp) {
  HostCallWaits waits;
  waits.StartTickWork();
  waits.StartCall(Ms(400));
  EXPECT_FALSE(waits.GiveUpWaiting(Ms(399)));
  EXPECT_TRUE(waits.GiveUpWaiting(Ms(400)));
  // A busy host is tried again only while a retry still fits.
  waits.StartCall(Ms(400));
  ASSERT_TRUE(waits.Refused(true, Ms(100)));
  EXPECT_FALSE(waits.Refused(true, Ms(200)));
}

}  // namespace
