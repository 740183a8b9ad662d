#include "link/datagram_check.h"
#include "tick_fixture.h"

namespace {

using PollTickTest = TickTest;

std::vector<std::uint8_t> WithType(std::vector<std::uint8_t> bytes, std::uint8_t b8, std::uint8_t b9, std::uint8_t b10,
                                   std::uint8_t b11) {
  bytes[8] = b8;
  bytes[9] = b9;
  bytes[10] = b10;
  bytes[11] = b11;
  return bytes;
}

TEST_F(PollTickTest, EveryOrdinaryTickStopsAndReArmsTheTimer) {
  window.TimerRunning = true;
  Tick();  // nothing received yet: the zero buffer is rejected
  EXPECT_TRUE(window.TimerRunning);
  EXPECT_EQ(window.TimerStarts, 1);
  EXPECT_TRUE(window.Pushes.empty());
  EXPECT_TRUE(Calls().empty());
}

TEST_F(PollTickTest, ValidityLooksForDaBeforeTheFirstZeroByte) {
  const std::vector<std::uint8_t> status = EncodeMessage(Ft8Status());
  auto with_start = [&](std::vector<std::uint8_t> start) {
    std::vector<std::uint8_t> bytes = status;
    std::copy(start.begin(), start.end(), bytes.begin());
    return bytes;
  };
  const std::pair<std::vector<std::uint8_t>, bool> cases[] = {
      {with_start({0xAD, 0xBC, 0xCB, 0xDA, 0x00}), true},
      {with_start({0x01, 0x02, 0x03, 0xDA, 0x00}), true},  // only the DA counts
      {with_start({0xAD, 0xBC, 0xCB, 0xDA, 0x01, 0x00}), false},
      {with_start({0x00, 0xBC, 0xCB, 0xDA}), false},
      {{0xAD, 0xBC, 0xCB, 0xDA}, true},  // the datagram's end counts as a zero byte
      {{0xAD, 0xBC, 0xCB}, false},
      {{}, false},
  };
  for (const auto& [bytes, accepted] : cases) {
    LoadDatagram(*state, bytes);
    EXPECT_EQ(IsAcceptedDatagram(*state), accepted) << ::testing::PrintToString(bytes);
  }

  // A rejected datagram does nothing at all.
  Tick(with_start({0xAD, 0xBC, 0xCB, 0xDA, 0x01, 0x00}));
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(window.Pushes.empty());
  Tick(with_start({0x01, 0x02, 0x03, 0xDA, 0x00}));
  EXPECT_EQ(Calls().size(), 5u);
}

TEST_F(PollTickTest, BytesOfAnEarlierDatagramDoNotMakeALaterOneValid) {
  Tick(EncodeMessage(Ft8Status()));
  Calls();
  Tick(std::vector<std::uint8_t>{0xAD, 0xBC, 0xCB});  // the stale DA at byte 3 is not this datagram's
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(window.Pushes.size(), 1u);
}

TEST_F(PollTickTest, OnlyByteElevenSelectsTheMessage) {
  const std::vector<std::uint8_t> status = EncodeMessage(Ft8Status());
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
  // A Decode is ignored, also on its repeats.
  Tick(DecodeMessage());
  Tick();
  EXPECT_TRUE(Calls().empty());
}

TEST_F(PollTickTest, CloseStopsTheTicksForGood) {
  Tick(Ft8Status());
  const int starts = window.TimerStarts;
  Tick(CloseMessage{});
  EXPECT_FALSE(window.TimerRunning);
  EXPECT_EQ(window.TimerStarts, starts);
}

TEST_F(PollTickTest, FailingHostCallLeavesTheTickWithTheTimerStopped) {
  host.FailAfter = 2;  // the mode macro and the call pass, the report fails
  window.TimerRunning = true;
  EXPECT_THROW(Tick(Ft8Status()), HostCallError);
  EXPECT_FALSE(window.TimerRunning);
  EXPECT_EQ(window.TimerStarts, 0);
  EXPECT_TRUE(window.Pushes.empty());  // the tick ended at the failing call
  EXPECT_EQ(Calls(), (Lines{R"(ExecMacro "<MODEADD:FT8>")", R"(SetLogField 0 "K1ABC")"}));
}

TEST_F(PollTickTest, DetachedHostIsTriedOnEveryTickUntilItAttaches) {
  RecordingHost detached(false);
  detached.AttachAvailable = false;
  LoadDatagram(*state, EncodeMessage(Ft8Status()));
  PollTick(*state, detached, window);
  PollTick(*state, detached, window);
  EXPECT_EQ(detached.AttachAttempts, 2);
  EXPECT_TRUE(detached.Lines().empty());  // calls while detached have no effect

  detached.AttachAvailable = true;
  PollTick(*state, detached, window);
  PollTick(*state, detached, window);
  EXPECT_EQ(detached.AttachAttempts, 3);
  // The mode and call were taken while detached; only the frequencies,
  // written on every Status here, reach the host after the attach.
  EXPECT_EQ(detached.Lines(), (Lines{"TxFrequency 14075500", "RxFrequency 14075200",  //
                                     "TxFrequency 14075500", "RxFrequency 14075200"}));
}

TEST_F(PollTickTest, PortChangeRefreshesTheTitleOnce) {
  state->UdpPort = 2238;
  state->TitleStale = true;
  state->EndpointBound = true;
  Tick();
  Tick();
  EXPECT_EQ(window.Title, "Tolm<->JTDX UDP port = 2238");
  EXPECT_EQ(state->TitleText, window.Title);
  EXPECT_EQ(window.TitleSets, 1);
  EXPECT_FALSE(state->TitleStale);

  state->UdpPort = 2239;
  state->TitleStale = true;
  state->EndpointBound = false;  // the port was taken by another program
  Tick();
  EXPECT_EQ(window.Title, "Tolm<->JTDX UDP port = 2239 (not listening)");
}

class HeartbeatReplyTest : public TickTest {};

TEST_F(HeartbeatReplyTest, ReplyIsTheMagicAloneForJtdxDatagrams) {
  LoadDatagram(*state, EncodeMessage(HeartbeatMessage()));
  const HeartbeatReply reply = MakeHeartbeatReply(*state);
  ASSERT_EQ(reply.Size, 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(reply.Bytes.begin(), reply.Bytes.end()),
            (std::vector<std::uint8_t>{0xAD, 0xBC, 0xCB, 0xDA}));
}

TEST_F(HeartbeatReplyTest, NothingThatWouldUpsetJtdxIsEverSent) {
  // JTDX shows a modal "Network Error" for fewer than 4 bytes, a wrong
  // magic, or a schema above 3: such copies are not sent at all.
  const std::vector<std::uint8_t> cases[] = {
      {0x01, 0x02, 0x03, 0xDA, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00},  // accepted, no magic
      {0xAD, 0xBC, 0xCB, 0xDA, 0x01, 0x02, 0x03, 0xDA, 0x00, 0x00, 0x00, 0x00},  // schema 0x010203DA
      {0xAD, 0xBC, 0xCB, 0xDA, 0x01, 0xDA},                                      // a cut schema
      {0xDA},
      {0xAD, 0xBC, 0xCB, 0xDA},  // the magic alone: our own reply come back
  };
  for (const auto& bytes : cases) {
    LoadDatagram(*state, bytes);
    EXPECT_TRUE(IsAcceptedDatagram(*state));
    EXPECT_EQ(MakeHeartbeatReply(*state).Size, 0u) << ::testing::PrintToString(bytes);
  }
}

}  // namespace
