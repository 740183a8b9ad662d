#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "jtdx_messages.h"
#include "bridge/endpoint.h"
#include "ui/relvan_dlg.h"
#include "ui/resource_ids.h"
#include "ui/setup_dlg.h"

namespace {

// The Setup dialog opened from a running main dialog, on sockets of memory.
class SetupDialog : public BridgeFixture {
 protected:
  void SetUp() override {
    WriteSettingsFile("[Settings]\nUDP_Port=" + std::to_string(old_port) + "\n");
    ASSERT_TRUE(window.Open(main));
    setup_window.Open(setup);
  }

  CRelvanDlg main{bridge, settings, exits};
  WindowPosition position_cache;
  ::Setup setup{bridge, settings, position_cache, exits};
  FakeWindowPort setup_window;
  std::uint16_t old_port = 2240;
};

TEST_F(SetupDialog, OpensWithTheStoredPortAndTheBridgeKeepsListening) {
  EXPECT_EQ(setup_window.Controls[ids::kPortEdit], std::to_string(old_port));
  EXPECT_EQ(setup_window.Moves, (std::vector<std::pair<int, int>>{{200, 10}}));
  EXPECT_TRUE(setup_window.Messages.empty());  // its own push is no user edit

  // JTDX's contact while the dialog is open is taken by the next tick.
  net.Arrive(old_port, EncodeMessage(QsoLoggedMessage()));
  main.OnTimer(1500);
  EXPECT_EQ(host.Lines().back(), R"(ExecMacro "<SAVEQSO>")");
}

TEST_F(SetupDialog, StoredPortMissingOrOutOfRangeShows2237AndTheBridgeStaysOnItsPort) {
  for (const char* stored : {"", "UDP_Port=70000\n"}) {
    WriteSettingsFile(std::string("[Settings]\n") + stored);
    ::Setup fresh(bridge, settings, position_cache, exits);
    FakeWindowPort fresh_window;
    fresh_window.Open(fresh);
    EXPECT_EQ(fresh_window.Controls[ids::kPortEdit], "2237") << stored;
    EXPECT_EQ(state->Endpoint.Port(), old_port);
  }
}

TEST_F(SetupDialog, RefusesTextThatIsNoPortAndKeepsWhatWasTypedToItself) {
  setup_window.Type(ids::kPortEdit, "3000");
  EXPECT_EQ(setup.PortNumber, 3000);
  EXPECT_EQ(state->Endpoint.Port(), old_port);  // the bridge listens where it did
  for (const std::string text : {"", "30a0", "+-5"}) {
    setup_window.Type(ids::kPortEdit, text);
    EXPECT_EQ(setup_window.Messages.back().first, "Please enter an integer.") << text;
  }
  for (const std::string text : {"0", "65536", "-1"}) {
    setup_window.Focus.reset();
    setup_window.Type(ids::kPortEdit, text);
    EXPECT_EQ(setup_window.Messages.back().first, "Please enter an integer between 1 and 65535.") << text;
    EXPECT_EQ(setup_window.Focus, ids::kPortEdit);
  }
  EXPECT_EQ(setup_window.Messages.size(), 6u);
  EXPECT_EQ(setup.PortNumber, 3000);
  const SocketHandle listening = state->Endpoint.Socket();
  setup.OnOK();  // still "-1"
  EXPECT_FALSE(setup_window.Result.has_value());
  EXPECT_EQ(state->Endpoint.Socket(), listening);
}

TEST_F(SetupDialog, OkMovesToTheNewPortStoresItAndTheNextTickTitlesIt) {
  // A contact JTDX sent to the old port just before OK is not lost.
  net.Arrive(old_port, EncodeMessage(QsoLoggedMessage()));
  const SocketHandle old_socket = state->Endpoint.Socket();
  const std::uint16_t new_port = 2241;
  setup_window.Type(ids::kPortEdit, std::to_string(new_port));
  setup.OnOK();
  EXPECT_EQ(setup_window.Result, ids::kOk);
  EXPECT_EQ(net.Sockets.count(old_socket), 1u);  // still read
  EXPECT_EQ(state->Endpoint.Port(), new_port);
  EXPECT_EQ(ReadSetting("UDP_Port"), new_port);
  main.OnTimer(1500);
  EXPECT_EQ(window.Title, Title(new_port));
  EXPECT_EQ(host.Lines().back(), R"(ExecMacro "<SAVEQSO>")");
  EXPECT_EQ(net.Sockets.count(old_socket), 0u);
  EXPECT_EQ(net.Open, 1);
}

TEST_F(SetupDialog, OkOnAPortHeldElsewhereKeepsTheOldPortListeningAndStoresNothing) {
  const std::string settings_before = SettingsFileText();
  const SocketHandle listening = state->Endpoint.Socket();
  net.Bind = BindResult::Held;
  setup_window.Type(ids::kPortEdit, "2241");
  setup.OnOK();
  ASSERT_EQ(setup_window.Messages.size(), 1u);
  EXPECT_EQ(setup_window.Messages[0].first,
            "Port 2241 is held by another program; Relvan goes on listening on port " + std::to_string(old_port) + ".");
  EXPECT_FALSE(setup_window.Result.has_value());  // the operator may pick another
  EXPECT_EQ(state->Endpoint.Socket(), listening);
  EXPECT_EQ(net.Open, 1);
  EXPECT_EQ(state->Endpoint.Port(), old_port);
  EXPECT_EQ(SettingsFileText(), settings_before);

  setup.OnCancel();  // changes nothing either
  EXPECT_EQ(setup_window.Result, ids::kCancel);
  EXPECT_EQ(state->Endpoint.Socket(), listening);
  main.OnTimer(1500);
  EXPECT_EQ(window.Title, Title(old_port));
}

// A move to a port another Relvan listens on fails as a held port does; the
// old port's lock goes only with its socket, once that has been read empty.
TEST_F(SetupDialog, OkOnAPortAnotherRelvanListensOnKeepsTheOldPortAndItsLock) {
  net.LockedByAnother = {2241};
  setup_window.Type(ids::kPortEdit, "2241");
  setup.OnOK();
  ASSERT_EQ(setup_window.Messages.size(), 1u);
  EXPECT_EQ(setup_window.Messages[0].first,
            "Another Relvan already listens on port 2241; Relvan goes on listening on port " +
                std::to_string(old_port) + ".");
  EXPECT_FALSE(setup_window.Result.has_value());

  net.Arrive(old_port, EncodeMessage(QsoLoggedMessage()));
  setup_window.Type(ids::kPortEdit, "2242");
  setup.OnOK();
  EXPECT_EQ(setup_window.Result, ids::kOk);
  EXPECT_EQ(net.Locks.size(), 2u);  // the old port's, while its socket is read
  main.OnTimer(1500);
  EXPECT_EQ(net.Locks.size(), 1u);
  EXPECT_EQ(net.Locks.begin()->second, 2242);
}

// Shared in a group, the endpoint moves as the other does, bound on all
// addresses, and the title names the port alone; a port held by a program
// that does not share it is told so.
TEST_F(SetupDialog, SharedEndpointMovesSharedAndNamesAPortNotShared) {
  WriteSettingsFile("[Settings]\nUDP_Port=" + std::to_string(old_port) + "\nUDP_Group=239.255.0.1\n");
  state->Endpoint.Close();
  FakeWindowPort shared_window;
  CRelvanDlg shared_main{bridge, settings, exits};
  ASSERT_TRUE(shared_window.Open(shared_main));
  const std::uint16_t new_port = 2241;
  const int shared_binds = net.SharedBinds;
  setup_window.Type(ids::kPortEdit, std::to_string(new_port));
  setup.OnOK();
  EXPECT_EQ(setup_window.Result, ids::kOk);
  EXPECT_EQ(net.SharedBinds, shared_binds + 1);
  shared_main.OnTimer(1500);
  EXPECT_EQ(shared_window.Title, Title(new_port));

  net.Bind = BindResult::Held;
  setup_window.Type(ids::kPortEdit, "2242");
  setup.OnOK();
  ASSERT_FALSE(setup_window.Messages.empty());
  EXPECT_EQ(setup_window.Messages.back().first,
            "Port 2242 is held by a program that does not share it; Relvan goes on listening on port " +
                std::to_string(new_port) + ".");
}

}  // namespace
