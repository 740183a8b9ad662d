// The tick against a real UDP endpoint on the loopback interface, with the
// shipped FT8 session. A busy band's burst is host_socket_test's story, told
// there against tolm-sim.
#include <fstream>
#include <iterator>

#include "host_transcripts.h"
#include "scenario.h"
#include "tick_fixture.h"

namespace {

using TickOnLoopback = TickTest;

TEST_F(TickOnLoopback, ShippedFt8SessionReachesTheHostAsJtdxMeantIt) {
  std::ifstream file(RELVAN_EXAMPLES_DIR "/ft8-session.txt", std::ios::binary);
  ASSERT_TRUE(file);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  int heartbeats = 0;
  std::string reason;
  const auto steps = ParseScenario(text, "ft8-session.txt", reason);
  ASSERT_TRUE(steps) << reason;
  for (const ScenarioStep& step : *steps) {
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
                 R"(SetLogField 0 "K1ABC")",     R"(SetLogField 5 "-12")"};
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
