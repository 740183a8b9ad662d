#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/bridge_state.h"
#include "fake_clock.h"
#include "fake_main_window.h"
#include "jtdx_messages.h"
#include "link/endpoint.h"
#include "link/poll_tick.h"
#include "recording_host.h"
#include "socket_wait.h"
#include "udp_peer.h"

using Lines = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

inline void Append(Lines& lines, const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

// A bridge listening on a loopback port of its own, with a recording host
// and a fake window. Datagrams travel from a peer playing JTDX through the
// real socket; the tick runs as the front end's timer would run it.
class TickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartSockets());
    Listen();
    ASSERT_TRUE(jtdx.Bound());
  }
  void Listen() {
    state->UdpPort = UdpPeer().Port();  // one the system just handed out, so free
    ASSERT_EQ(OpenEndpoint(*state, nullptr), EndpointStatus::Open);
    ASSERT_TRUE(state->EndpointBound);
  }
  // The bridge as freshly started, listening again.
  void Restart() {
    CloseEndpoint(*state);
    state = std::make_unique<BridgeState>();
    Listen();
  }
  void TearDown() override {
    CloseEndpoint(*state);
    StopSockets();
  }

  void Send(const Bytes& datagram) { jtdx.SendTo(static_cast<std::uint16_t>(state->UdpPort), datagram); }
  template <typename Message>
  void Send(const Message& message) {
    Send(EncodeMessage(message));
  }

  // The tick, once what was sent has arrived.
  void TickOnArrival() {
    ASSERT_TRUE(WaitForDatagram(state->UdpSocket)) << "datagram lost on loopback";
    PollTick(*state, host, window, clock);
  }
  // A datagram arriving, and the tick that takes it.
  template <typename Message>
  void Tick(const Message& message) {
    Send(message);
    TickOnArrival();
  }
  // A tick with nothing new.
  void Tick() { PollTick(*state, host, window, clock); }

  std::vector<std::string> Calls() { return host.Take(); }

  static StatusMessage Ft8Status(std::string dx_call = "K1ABC", std::string report = "-5") {
    StatusMessage status;
    status.DialFrequency = 14074000;
    status.Mode = "FT8";
    status.DxCall = std::move(dx_call);
    status.Report = std::move(report);
    status.RxDf = 1200;
    status.TxDf = 1500;
    return status;
  }

  std::unique_ptr<BridgeState> state = std::make_unique<BridgeState>();
  RecordingHost host;
  FakeMainWindow window;
  FakeClock clock;
  UdpPeer jtdx;
};
