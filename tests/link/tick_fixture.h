#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/bridge_state.h"
#include "host/transcript.h"
#include "fake_main_window.h"
#include "jtdx_messages.h"
#include "link/poll_tick.h"
#include "load_datagram.h"
#include "recording_host.h"

// A bridge with a closed endpoint: each tick finds no new datagram and
// handles the one loaded last, as the real tick does between datagrams.
class TickTest : public ::testing::Test {
 protected:
  // A datagram arriving, and the tick that takes it.
  void Tick(const std::vector<std::uint8_t>& datagram) {
    LoadDatagram(*state, datagram);
    PollTick(*state, host, window);
  }
  template <typename Message>
  void Tick(const Message& message) {
    Tick(EncodeMessage(message));
  }
  // A tick with nothing new.
  void Tick() { PollTick(*state, host, window); }

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
};

using Lines = std::vector<std::string>;
