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
#include "temp_dir.h"

// A bridge in a fresh working directory, on sockets of memory, with a
// recording host that is not attached yet, and a fake desktop to run dialogs
// in.
class BridgeFixture : public ::testing::Test {
 protected:
  // The settings file as a user might have edited it.
  static void WriteSettingsFile(const std::string& text) { WriteSettingsFileText(text); }

  TempDir dir;
  ScopedWorkingDir cwd{dir.Path()};
  MemoryNet net;
  RecordingHost host{false};
  FakeWindowPort window;
  ProgramExits exits{net};  // what the program does when its sockets fail
  FakeClock clock;
  Bridge bridge{net, host, clock};
  BridgeState* const state = &bridge.State();
};
