#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bridge/endpoint.h"
#include "bridge/poll_tick.h"
#include "bridge/bridge_state.h"
#include "fake_clock.h"
#include "fake_main_window.h"
#include "ft8_status.h"
#include "jtdx_messages.h"
#include "memory_net.h"
#include "recording_host.h"

using Lines = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

inline void Append(Lines& lines, const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

// A bridge listening on port 2237 of sockets of memory, with a
// recording host and a fake window. Datagrams are queued bytes from JTDX; the
// tick runs as the front end's timer would run it.
class TickTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(state->Endpoint.Open(kJtdxUdpPort, nullptr), EndpointStatus::Open); }
  // The bridge as freshly started, listening again.
  void Restart() {
    state = std::make_unique<BridgeState>(net);
    SetUp();
  }

  void Send(const Bytes& datagram) { net.Arrive(state->Endpoint.Port(), datagram); }
  template <typename Message>
  void Send(const Message& message) {
    Send(EncodeMessage(message));
  }

  // A datagram arriving, and the tick that takes it.
  template <typename Message>
  void Tick(const Message& message) {
    Send(message);
    Tick();
  }
  // A tick with nothing new.
  void Tick() { PollTick(*state, host, window, clock); }

  std::vector<std::string> Calls() { return host.Take(); }

  MemoryNet net;
  std::unique_ptr<BridgeState> state = std::make_unique<BridgeState>(net);
  RecordingHost host;
  FakeMainWindow window;
  FakeClock clock;
};
