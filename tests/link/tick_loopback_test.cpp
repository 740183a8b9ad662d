// The tick against a real UDP endpoint on the loopback interface: datagrams
// from JTDX's side go through the socket, the host calls are compared as a
// transcript.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fake_main_window.h"
#include "host_transcripts.h"
#include "jtdx_messages.h"
#include "link/endpoint.h"
#include "link/poll_tick.h"
#include "recording_host.h"
#include "scenario.h"
#include "socket_wait.h"
#include "udp_peer.h"

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

void Append(Lines& lines, const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

class TickOnLoopback : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartSockets());
    state->UdpPort = UdpPeer().Port();  // one the system just handed out, so free
    ASSERT_EQ(OpenEndpoint(*state, nullptr), EndpointStatus::Open);
    ASSERT_TRUE(state->EndpointBound);
    ASSERT_TRUE(jtdx.Bound());
  }
  void TearDown() override { CloseEndpoint(*state); }

  void Send(const Bytes& datagram) { jtdx.SendTo(static_cast<std::uint16_t>(state->UdpPort), datagram); }

  // The tick of the front end's timer, once the datagram sent has arrived.
  void TickOnArrival() {
    ASSERT_TRUE(WaitForDatagram(state->UdpSocket)) << "datagram lost on loopback";
    PollTick(*state, host, window);
  }

  // Nothing came back: a datagram the peer sends itself arrives first.
  void ExpectNoReply() {
    const Bytes marker{0x4D, 0x41, 0x52, 0x4B};
    jtdx.SendTo(jtdx.Port(), marker);
    EXPECT_EQ(jtdx.Receive(), marker);
  }

  std::unique_ptr<BridgeState> state = std::make_unique<BridgeState>();
  RecordingHost host;
  FakeMainWindow window;
  UdpPeer jtdx;
};

const Bytes kMagic{0xAD, 0xBC, 0xCB, 0xDA};

TEST_F(TickOnLoopback, HeartbeatsAreAnsweredAtTheSendersPortUntilAStatusNamesAMode) {
  Send(EncodeMessage(HeartbeatMessage()));
  TickOnArrival();
  EXPECT_EQ(jtdx.Receive(), kMagic);
  PollTick(*state, host, window);  // nothing new: the same Heartbeat again
  EXPECT_EQ(jtdx.Receive(), kMagic);

  Send(EncodeMessage(StatusMessage()));
  TickOnArrival();
  Send(EncodeMessage(HeartbeatMessage()));
  TickOnArrival();
  ExpectNoReply();
  EXPECT_TRUE(window.TimerRunning);
}

TEST_F(TickOnLoopback, BurstFasterThanTheTickIsHandledInOrderOneDatagramPerTick) {
  StatusMessage calling;
  calling.DxCall = "K1ABC";
  calling.Report = "-7";
  calling.RxDf = 0;
  calling.TxDf = 1500;
  QsoLoggedMessage qso;
  qso.DxCall = "K1ABC";
  qso.Name = "Bob";
  StatusMessage next = calling;
  next.DxCall = "W9XYZ";
  next.DialFrequency = 7074000;

  const std::vector<Bytes> burst = {
      EncodeMessage(calling), EncodeMessage(DecodeMessage()), EncodeMessage(qso),
      EncodeMessage(ClearMessage()), EncodeMessage(next),
  };
  for (const Bytes& datagram : burst) Send(datagram);
  for (std::size_t i = 0; i < burst.size(); ++i) TickOnArrival();

  // The Status, nothing for the Decode, the QSO Logged, the Clear, then the
  // Status with the next station on 40 m.
  Lines expected{R"(ExecMacro "<MODEADD:FT8>")", R"(SetLogField 0 "K1ABC")", R"(SetLogField 5 "-7")",
                 "TxFrequency 14075500", "RxFrequency 14074000"};
  Append(expected, QsoLoggedCalls({"K1ABC", "FN42", "Bob", "-10", "-10", "", "14075500"}));
  Append(expected, kClearCalls);
  Append(expected, {R"(SetLogField 0 "W9XYZ")", R"(SetLogField 5 "-7")", "TxFrequency 7075500", "RxFrequency 7074000"});
  EXPECT_EQ(host.Take(), expected);
  EXPECT_EQ(window.Shown(), (DisplayFields{"W9XYZ", "-7", "", "", " 7075.50", ""}));
}

TEST_F(TickOnLoopback, CloseStopsTheTimerAndClosesTheEndpoint) {
  Send(EncodeMessage(CloseMessage()));
  TickOnArrival();
  EXPECT_FALSE(window.TimerRunning);
  EXPECT_EQ(state->UdpSocket, kInvalidSocket);
  EXPECT_FALSE(state->EndpointBound);
}

TEST_F(TickOnLoopback, ShippedFt8SessionReachesTheHostAsJtdxMeantIt) {
  std::ifstream file(RELVAN_EXAMPLES_DIR "/ft8-session.txt", std::ios::binary);
  ASSERT_TRUE(file);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  int heartbeats = 0;
  for (const ScenarioStep& step : ParseScenario(text, "ft8-session.txt")) {
    if (step.What != ScenarioStep::Kind::kSend) continue;  // the ticks pace it here
    Send(step.Datagram);
    TickOnArrival();
    heartbeats += step.Datagram[11] == 0;
  }
  ASSERT_EQ(heartbeats, 1);
  EXPECT_EQ(jtdx.Receive(), kMagic);

  const Lines status_frequencies{"TxFrequency 14075500", "RxFrequency 14075210"};
  Lines expected{R"(ExecMacro "<MODEADD:FT8>")", R"(SetLogField 5 "-10")", "TxFrequency 14075500",
                 "RxFrequency 14075500",  // no station yet
                 R"(SetLogField 0 "K1ABC")", R"(SetLogField 5 "-12")"};
  for (int i = 0; i < 3; ++i) Append(expected, status_frequencies);
  Append(expected, QsoLoggedCalls({"K1ABC", "FN42", "Bob", "-12", "-05", "tnx QSO 73", "14075500"}));
  Append(expected, status_frequencies);
  Append(expected, kClearCalls);
  Append(expected, {R"(SetLogField 0 "")"});
  Append(expected, status_frequencies);
  EXPECT_EQ(host.Lines(), expected);
  EXPECT_EQ(window.Shown(), (DisplayFields{"", "", "", "", "14075.50", ""}));
}

}  // namespace
