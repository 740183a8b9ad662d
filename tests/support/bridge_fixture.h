#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/program_exits.h"
#include "bridge/bridge.h"
#include "fake_clock.h"
#include "fake_window_port.h"
#include "memory_net.h"
#include "recording_host.h"
#include "settings_file_text.h"

// A bridge with a settings folder of its own, on sockets of memory, with a
// recording host that is not attached yet, and a fake desktop to run dialogs
// in.
class BridgeFixture : public SettingsFolderTest {
 protected:
  // The main window's title on a port, as the operator reads it.
  static std::string Title(int port) { return "Tolm<->JTDX UDP port = " + std::to_string(port); }

  MemoryNet net;
  RecordingHost host{false};
  FakeWindowPort window;
  ProgramExits exits{net};  // what the program does when its sockets fail
  FakeClock clock;
  Bridge bridge{net, host, clock};
  BridgeState* const state = &bridge.State();
};
