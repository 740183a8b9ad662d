#pragma once
#include <gtest/gtest.h>

#include "app/program_exits.h"
#include "bridge/bridge.h"
#include "fake_clock.h"
#include "fake_window_port.h"
#include "recording_host.h"
#include "settings_file_text.h"

// A bridge with a settings folder of its own, a recording host that is not
// attached yet, and a fake desktop to run dialogs in.
class BridgeFixture : public SettingsFolderTest {
 protected:
  RecordingHost host{false};
  FakeWindowPort window;
  ProgramExits exits;  // what the program does when its sockets fail
  FakeClock clock;
  Bridge bridge{host, clock};
  BridgeState* const state = &bridge.State();
};
