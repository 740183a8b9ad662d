// The tick against a real UDP endpoint on the loopback interface, with the
// shipped FT8 session. A busy band's burst is host_socket_test's story, told
// there against tolm-sim.
#include <gtest/gtest.h>

#include "bridge/endpoint.h"
#include "bridge/poll_tick.h"
#include "fake_clock.h"
#include "fake_main_window.h"
#include "host_transcripts.h"
#include "read_file.h"
#include "recording_host.h"
#include "scenario.h"
#include "socket_wait.h"
#include "udp_peer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

void Append(Lines& lines, const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

TEST(TickOnLoopback, ShippedFt8SessionReachesTheHostAsJtdxMeantIt) {
  SystemNet net;
  ASSERT_TRUE(net.StartSocketLibrary());
  auto state = std::make_unique<BridgeState>(net);
  RecordingHost host;
  FakeMainWindow window;
  const FakeClock clock;
  UdpPeer jtdx;
  const std::uint16_t port = UdpPeer().Port();  // one the system just handed out, so free
  ASSERT_EQ(state->Endpoint.Open(port, nullptr), EndpointStatus::Open);

  const std::string text = FileBytes(RELVAN_EXAMPLES_DIR "/ft8-session.txt");
  int heartbeats = 0;
  std::string reason;
  const auto steps = ParseScenario(text, "ft8-session.txt", reason);
  ASSERT_TRUE(steps) << reason;
  for (const ScenarioStep& step : *steps) {
    if (step.What != ScenarioStep::Kind::Send) continue;  // the ticks pace it here
    jtdx.SendTo(port, step.Datagram);
    ASSERT_TRUE(WaitForDatagram(state->Endpoint.Socket())) << "datagram lost on loopback";
    PollTick(*state, host, window, clock);
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
  state.reset();
  net.CleanupSocketLibrary();
}

}  // namespace
