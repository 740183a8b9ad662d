#include <filesystem>

#include "temp_dir.h"
#include "bridge/poll_tick.h"
#include "tick_fixture.h"

namespace {

using PollTickTest = TickTest;

Bytes WithType(Bytes bytes, std::uint8_t b8, std::uint8_t b9, std::uint8_t b10, std::uint8_t b11) {
  bytes[8] = b8;
  bytes[9] = b9;
  bytes[10] = b10;
  bytes[11] = b11;
  return bytes;
}

TEST_F(PollTickTest, EveryOrdinaryTickStopsAndReArmsTheTimer) {
  window.TimerRunning = true;
  Tick();  // nothing received
  EXPECT_TRUE(window.TimerRunning);
  EXPECT_EQ(window.TimerStarts, 1);
  EXPECT_TRUE(window.Pushes.empty());
  EXPECT_TRUE(Calls().empty());
}

TEST_F(PollTickTest, WhatIsNotJtdxsDoesNothingAndTheBridgeGoesOn) {
  const Bytes status = EncodeMessage(Ft8Status());
  Bytes without_magic = status;
  without_magic[0] = 0x01;
  Tick(without_magic);
  Tick(Bytes{0xDA, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6});
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(window.Pushes.empty());
  EXPECT_TRUE(window.TimerRunning);
  Tick(status);
  EXPECT_EQ(Calls().size(), 5u);
}

TEST_F(PollTickTest, OnlyByteElevenSelectsTheMessage) {
  const Bytes status = EncodeMessage(Ft8Status());
  Tick(WithType(status, 0xFF, 0x00, 0x01, 0x01));
  EXPECT_EQ(Calls().size(), 5u);  // handled as Status

  for (const std::uint8_t type : {2, 4, 7, 11, 15, 0x80, 0xFF}) {
    SCOPED_TRACE(static_cast<int>(type));
    const std::size_t pushes = window.Pushes.size();
    Tick(WithType(status, 0, 0, 0, type));
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(window.Pushes.size(), pushes);
    EXPECT_TRUE(window.TimerRunning);
  }
}

TEST_F(PollTickTest, IdleTicksAfterAStatusAClearAndAHeartbeatSendNothing) {
  const HeartbeatMessage heartbeat;
  Tick(Ft8Status());
  Tick(ClearMessage{});
  Tick(heartbeat);
  EXPECT_FALSE(Calls().empty());
  const std::size_t pushes = window.Pushes.size();
  for (int i = 0; i < 5; ++i) Tick();
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(window.Pushes.size(), pushes);
}

TEST_F(PollTickTest, JtdxStartedAgainAfterItsCloseIsServedAtOnce) {
  Tick(Ft8Status());
  const DisplayFields shown = window.Shown();
  CloseMessage close;
  close.Header.Id = "WSJT-X";  // which sends the same datagrams, and is named as it names itself
  Tick(close);
  EXPECT_TRUE(state->Kept.SenderIsClosed());
  EXPECT_EQ(state->Kept.ClosedAt(), clock.now);
  EXPECT_EQ(state->Kept.ClosedSender(), "WSJT-X");
  EXPECT_TRUE(window.TimerRunning);
  EXPECT_EQ(window.Fields(), shown);  // the fields keep what they show

  Calls();
  Tick(Ft8Status("W9XYZ"));
  EXPECT_FALSE(state->Kept.SenderIsClosed());
  QsoLoggedMessage qso;
  qso.DxCall = "W9XYZ";
  Tick(qso);
  const Lines calls = Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), R"(ExecMacro "<SAVEQSO>")");
}

TEST_F(PollTickTest, FailingTolmCostsOneNoticeAndNeverStopsTheIntake) {
  TempDir dir;
  state->Unsaved.Use((std::filesystem::path(dir.Path()) / "unsaved.adi").string());
  host.FailAfter = 2;  // the mode macro and the call pass, the report fails
  // Tolm fails in the middle of a Status; the contact behind it is still
  // taken, and kept for the operator.
  const QsoLoggedMessage qso;
  Send(Ft8Status());
  Send(qso);
  Tick();
  EXPECT_TRUE(window.TimerRunning);
  EXPECT_FALSE(host.IsAttached());
  ASSERT_EQ(state->Notices.size(), 2u);
  EXPECT_EQ(state->Notices[0].What, OperatorNotice::Kind::HostStopped);
  EXPECT_EQ(state->Notices[0].HostDetail, R"(SetLogField: refused SetLogField 5 "-5")");
  EXPECT_EQ(state->Notices[1].What, OperatorNotice::Kind::ContactNotSaved);
  EXPECT_TRUE(state->Notices[1].Kept);
  EXPECT_EQ(window.Shown().Freq, "14075.50");  // shown, though Tolm never heard of it
  state->Notices.clear();

  // No attach for 3 s; then a Tolm that still refuses fails the resend and
  // stays in the same outage: no second notice.
  const int attempts = host.AttachAttempts;
  Tick();
  clock.Advance(std::chrono::milliseconds(2900));
  Tick();
  EXPECT_EQ(host.AttachAttempts, attempts);
  clock.Advance(std::chrono::milliseconds(100));
  Tick();
  EXPECT_EQ(host.AttachAttempts, attempts + 1);
  EXPECT_FALSE(host.IsAttached());
  EXPECT_TRUE(state->Notices.empty());

  // Tolm mended: the newest Status reaches it, with the contact's frequency
  // (the last one JTDX reported), but not the contact's call and report,
  // which are to be imported; and the outage is over.
  host.FailAfter = -1;
  Calls();
  clock.Advance(kReattachDelay);
  Tick();
  EXPECT_EQ(Calls(), (Lines{R"(ExecMacro "<MODEADD:FT8>")", "TxFrequency 14075500", "RxFrequency 14075200"}));
  EXPECT_FALSE(state->Host.Outage());
}

TEST_F(PollTickTest, HostThatAttachesAfterAStatusIsBroughtUpToDateOnce) {
  host.DetachHost();
  host.AttachAvailable = false;
  Tick();  // no Status yet: an attach would send nothing
  Tick(Ft8Status());
  EXPECT_EQ(host.AttachAttempts, 2);
  EXPECT_TRUE(Calls().empty());  // calls while detached have no effect

  host.AttachAvailable = true;
  Tick();
  Tick();
  EXPECT_EQ(host.AttachAttempts, 3);
  EXPECT_EQ(Calls(), (Lines{R"(ExecMacro "<MODEADD:FT8>")", R"(SetLogField 0 "K1ABC")", R"(SetLogField 5 "-5")",
                            "TxFrequency 14075500", "RxFrequency 14075200"}));
}

// A Tolm that quits while nothing is sent to it is seen within one upkeep:
// let go of without a word (nothing was lost), and attached again at the
// next tick once it runs, not after the wait of a failed call.
TEST_F(PollTickTest, TolmThatQuitIsLetGoOfByTheUpkeepWithoutAWordAndAttachedAgainAtOnce) {
  Tick(Ft8Status());
  Calls();
  RunUpkeep(*state, host, clock.Now());
  EXPECT_TRUE(host.IsAttached());
  host.Gone = true;
  clock.Advance(kUpkeepInterval);
  RunUpkeep(*state, host, clock.Now());
  EXPECT_FALSE(host.IsAttached());
  EXPECT_TRUE(state->Notices.empty());
  EXPECT_FALSE(state->Host.Outage());

  host.Gone = false;
  Tick();
  EXPECT_EQ(Calls(), (Lines{R"(ExecMacro "<MODEADD:FT8>")", R"(SetLogField 0 "K1ABC")", R"(SetLogField 5 "-5")",
                            "TxFrequency 14075500", "RxFrequency 14075200"}));
}

TEST_F(PollTickTest, HeartbeatsAreAnsweredAtTheSendersPortUntilAStatusNamesAMode) {
  const Bytes magic{0xAD, 0xBC, 0xCB, 0xDA};
  const HeartbeatMessage heartbeat;
  Tick(heartbeat);
  Tick(QsoLoggedMessage());  // a logged contact's mode is no Status's
  Tick(heartbeat);
  EXPECT_EQ(net.Sent, (std::vector<Bytes>{magic, magic}));

  Tick(StatusMessage());
  Tick(heartbeat);
  EXPECT_EQ(net.Sent.size(), 2u);
}

// Shared with the network, the endpoint joins its group everywhere and
// hands on only what this machine sends; an address the machine took since
// counts once it is read again, a second later.
TEST_F(PollTickTest, SharedEndpointTakesOnlyThisMachinesDatagrams) {
  constexpr std::uint32_t kInterface = 0x0A000005, kNewInterface = 0x0A000009, kOtherMachine = 0xC0000207;
  net.LocalIps = {kLoopbackIp, kInterface};
  state->Endpoint.SetGroup(*ParseMulticastGroup("239.255.0.1"));
  ASSERT_EQ(state->Endpoint.Open(2237, nullptr), EndpointStatus::Open);
  EXPECT_EQ(net.Joined, (std::vector<std::uint32_t>{kLoopbackIp, kInterface}));

  net.Sender = {kOtherMachine, 2237};
  Tick(Ft8Status());
  Tick(HeartbeatMessage());
  EXPECT_EQ(Calls(), Lines{});
  EXPECT_EQ(net.Sent.size(), 0u);
  EXPECT_EQ(state->Endpoint.Refused(), 2u);

  net.Sender = {kInterface, 2237};
  Tick(Ft8Status());
  EXPECT_NE(Calls(), Lines{});

  net.LocalIps.push_back(kNewInterface);
  RunUpkeep(*state, host, clock.Now());
  EXPECT_EQ(net.Joined.back(), kNewInterface);
  net.Sender = {kNewInterface, 2237};
  Tick(Ft8Status("W9XYZ"));
  EXPECT_NE(Calls(), Lines{});
  EXPECT_EQ(state->Endpoint.Refused(), 2u);
  EXPECT_EQ(net.LocalIpReads, 3);  // at the bind, for the first stranger, at the upkeep
}

}  // namespace
