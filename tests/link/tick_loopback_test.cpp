// The tick against a real UDP endpoint on the loopback interface, with
// whole sessions: bursts, and the shipped FT8 session.
#include <fstream>
#include <iterator>

#include "host_transcripts.h"
#include "scenario.h"
#include "socket_info.h"
#include "tick_fixture.h"

namespace {

using TickOnLoopback = TickTest;

TEST_F(TickOnLoopback, BurstOfDatagramsIsHandledInOrderUpToTheTicksShare) {
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

  // A busy band: the datagrams that matter among 1,095 Decodes, all sent
  // before one tick. The receive queue holds them all.
  if (ReceiveQueueBytes(state->UdpSocket) < 1100 * 1024) {
    GTEST_SKIP() << "the system grants a receive queue of only " << ReceiveQueueBytes(state->UdpSocket) << " bytes";
  }
  for (int i = 0; i < 1000; ++i) Send(DecodeMessage());
  Send(calling);
  for (int i = 0; i < 95; ++i) Send(DecodeMessage());
  Send(qso);
  Send(ClearMessage());
  Send(next);
  Send(CloseMessage());
  TickOnArrival();
  // The first tick took 1,024 datagrams: the Status, not the contact yet.
  EXPECT_EQ(host.Take(), (Lines{R"(ExecMacro "<MODEADD:FT8>")", R"(SetLogField 0 "K1ABC")", R"(SetLogField 5 "-7")",
                                "TxFrequency 14075500", "RxFrequency 14074000"}));
  EXPECT_TRUE(window.TimerRunning);

  TickOnArrival();
  Lines expected = QsoLoggedCalls({"K1ABC", "FN42", "Bob", "-10", "-10", "", "14075500"});
  Append(expected, kClearCalls);
  // The next station on 40 m.
  Append(expected, {R"(SetLogField 0 "W9XYZ")", R"(SetLogField 5 "-7")", "TxFrequency 7075500", "RxFrequency 7074000"});
  EXPECT_EQ(host.Take(), expected);
  EXPECT_EQ(window.Shown(), (DisplayFields{"W9XYZ", "-7", "", "", " 7075.50", ""}));
  EXPECT_TRUE(state->JtdxClosed);  // the Close came last, and ended nothing
  EXPECT_TRUE(window.TimerRunning);
}

TEST_F(TickOnLoopback, ShippedFt8SessionReachesTheHostAsJtdxMeantIt) {
  std::ifstream file(RELVAN_EXAMPLES_DIR "/ft8-session.txt", std::ios::binary);
  ASSERT_TRUE(file);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  int heartbeats = 0;
  for (const ScenarioStep& step : ParseScenario(text, "ft8-session.txt")) {
    if (step.What != ScenarioStep::Kind::Send) continue;  // the ticks pace it here
    Send(step.Datagram);
    TickOnArrival();
    heartbeats += step.Datagram[11] == 0;
  }
  ASSERT_EQ(heartbeats, 1);
  EXPECT_EQ(jtdx.Receive(), (Bytes{0xAD, 0xBC, 0xCB, 0xDA}));

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
