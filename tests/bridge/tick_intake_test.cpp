#include <algorithm>
#include <filesystem>
#include <string>

#include "adif/adif_file.h"
#include "temp_dir.h"
#include "tick_fixture.h"

namespace {

// How much a tick takes, from which socket, and what the end takes with it:
// each socket of memory has its queue, and closing one drops what is left
// on it.
class TickIntake : public TickTest {
 protected:
  void SetUp() override {
    TickTest::SetUp();
    state->Unsaved.Use(dir.Path() / "unsaved.adi");
    net.Clock = &clock;
  }

  static Bytes Contact(int n) {
    QsoLoggedMessage qso;
    qso.DxCall = "K";
    qso.DxCall += std::to_string(n);  // not "K" + ...: MinGW's GCC 12 takes that for an overlapping copy at -O3
    return EncodeMessage(qso);
  }
  int Saves() {
    const Lines calls = Calls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), R"(ExecMacro "<SAVEQSO>")"));
  }
  int Unsaved() { return CountAdifRecords(state->Unsaved.Path()).Records; }

  TempDir dir;
};

TEST_F(TickIntake, SetupsMoveHandlesEverythingQueuedOnTheOldPortOnce) {
  constexpr int kQueued = 5000;
  for (int n = 0; n < kQueued; ++n) Send(Contact(n));
  const SocketHandle old_socket = state->Endpoint.Socket();
  ASSERT_EQ(state->Endpoint.Move(2238, clock.Now()), PortChange::Moved);
  // A contact to the new port waits behind the old one's.
  Send(Contact(kQueued));
  net.ReceiveCost = std::chrono::microseconds(25);  // 2,000 in a tick's 50 ms
  int saves = 0;
  int ticks = 0;
  for (; ticks < 10 && state->Endpoint.HasRetired(); ++ticks) {
    Tick();
    saves += Saves();
    clock.Advance(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(saves, kQueued + 1);
  EXPECT_EQ(net.Sockets.count(old_socket), 0u);
  EXPECT_EQ(net.Open, 1);
  EXPECT_EQ(state->Host.SavedCount(), kQueued + 1);
}

// A sender not told of the move that goes on sending to the old port faster
// than the ticks take it is served there for a second; then what is queued
// there is read at once, its contacts go to the unsaved file, and the old
// socket is closed.
TEST_F(TickIntake, SenderThatKeepsTheOldPortFullIsCutOffASecondAfterTheMove) {
  ASSERT_EQ(state->Endpoint.Move(2238, clock.Now()), PortChange::Moved);
  net.ReceiveCost = std::chrono::milliseconds(1);  // 50 in a tick
  for (int tick = 0; tick <= 10; ++tick) {
    for (int n = 0; n < 59; ++n) net.Arrive(2237, EncodeMessage(DecodeMessage()));
    net.Arrive(2237, Contact(tick));  // the 60th
    if (tick == 10) {
      EXPECT_EQ(Saves(), 8);  // those among the first 500
    }
    Tick();
    clock.Advance(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(Calls(), Lines{});  // no host call after the cut
  EXPECT_FALSE(state->Endpoint.HasRetired());
  EXPECT_EQ(net.Open, 1);
  EXPECT_EQ(Unsaved(), 3);
  EXPECT_EQ(state->Notices.size(), 3u);

  // A second move while the first one's socket is read sees that one to its
  // end first, the same way.
  net.Arrive(2238, Contact(12));
  ASSERT_EQ(state->Endpoint.Move(2239, clock.Now()), PortChange::Moved);
  net.Arrive(2238, Contact(13));
  ASSERT_EQ(state->Endpoint.Move(2240, clock.Now(), [&] { KeepRetiredContactsAndClose(*state, clock); }),
            PortChange::Moved);
  EXPECT_EQ(Unsaved(), 5);
  EXPECT_EQ(net.Open, 2);  // 2240, and 2239 being read
}

TEST_F(TickIntake, TickTakesDatagramsForFiftyMillisecondsAndLeavesTheRest) {
  for (int n = 0; n < 80; ++n) Send(EncodeMessage(DecodeMessage()));
  net.ReceiveCost = std::chrono::milliseconds(1);
  Tick();
  EXPECT_EQ(net.Queued(state->Endpoint.Socket()), 30u);
  Tick();
  EXPECT_EQ(net.Queued(state->Endpoint.Socket()), 0u);
}

// Refused at a fraction of a microsecond each, a flood from the network
// costs this machine's datagram behind it no tick.
TEST_F(TickIntake, FloodOfRefusedDatagramsLeavesThisMachinesHandledInTheSameTick) {
  state->Endpoint.SetGroup(*ParseMulticastGroup("239.255.0.1"));
  ASSERT_EQ(state->Endpoint.Open(2237, nullptr), EndpointStatus::Open);
  net.ReceiveCost = std::chrono::microseconds(1);
  net.Sender = {0xC0000207, 2237};
  for (int n = 0; n < 20000; ++n) Send(Contact(n));
  net.Sender = MemoryNet::kSender;
  Send(Contact(20000));
  Tick();
  EXPECT_EQ(state->Endpoint.Refused(), 20000u);
  EXPECT_EQ(Saves(), 1);
}

// Beside a Tolm whose calls never answer, the end waits its second, not a
// call's 5 s, and keeps every contact still queued.
TEST_F(TickIntake, EndBesideAHungTolmTakesItsDeadlineAndKeepsEveryContact) {
  constexpr int kQueued = 5000;
  host.WaitClock = &clock;
  host.HangFor = std::chrono::seconds(5);
  Send(Ft8Status());
  for (int n = 0; n < kQueued; ++n) Send(Contact(n));
  const Clock::TimePoint start = clock.Now();
  DrainAndCloseEndpoint(*state, host, clock);
  EXPECT_EQ(clock.Now() - start, kDrainTime);
  EXPECT_EQ(Unsaved(), kQueued);
  EXPECT_EQ(net.Open, 0);
  // The contacts' notices are left for the end to show; the outage's is not.
  ASSERT_EQ(state->Notices.size(), static_cast<std::size_t>(kQueued));
  EXPECT_TRUE(std::all_of(state->Notices.begin(), state->Notices.end(),
                          [](const OperatorNotice& notice) { return notice.Kept; }));
}

}  // namespace
