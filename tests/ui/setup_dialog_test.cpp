#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "link/endpoint.h"
#include "socket_info.h"
#include "link/socket_ops.h"
#include "settings/settings_file.h"
#include "udp_peer.h"
#include "ui/relvan_dlg.h"
#include "ui/resource_ids.h"
#include "ui/setup_dlg.h"

namespace {

// The Setup dialog opened from a running main dialog.
class SetupDialog : public BridgeFixture {
 protected:
  void SetUp() override {
    old_port = UdpPeer().Port();
    WriteSettingsFile("[Settings]\nUDP_Port=" + std::to_string(old_port) + "\n");
    ASSERT_TRUE(window.Open(main));
    setup_window.Open(setup);
  }
  void TearDown() override { CloseEndpoint(*state); }

  std::string Title(int p) const { return "Tolm<->JTDX UDP port = " + std::to_string(p); }

  CRelvanDlg main{*state, host, exits};
  ::Setup setup{*state, exits};
  FakeWindowPort setup_window;
  std::uint16_t old_port = 0;
};

TEST_F(SetupDialog, OpensWithTheStoredPortAndTheEndpointClosed) {
  EXPECT_EQ(setup_window.Controls[ids::kPortEdit], std::to_string(old_port));
  EXPECT_EQ(setup_window.Moves, (std::vector<std::pair<int, int>>{{200, 10}}));
  EXPECT_EQ(state->UdpSocket, kInvalidSocket);
  EXPECT_TRUE(setup_window.Messages.empty());  // its own push is no user edit
}

TEST_F(SetupDialog, WithoutAStoredPortTheFieldAndUdpPortBecome2237) {
  WriteSettingsFile("[Settings]\n");
  ::Setup fresh(*state, exits);
  FakeWindowPort fresh_window;
  fresh_window.Open(fresh);
  EXPECT_EQ(fresh_window.Controls[ids::kPortEdit], "2237");
  EXPECT_EQ(state->UdpPort, 2237);
}

TEST_F(SetupDialog, PortFollowsTheEditKeystrokeByKeystrokeAndRefusesNonIntegers) {
  for (const std::string text : {"3", "30", "300", "3000"}) {
    setup_window.Type(ids::kPortEdit, text);
    EXPECT_EQ(state->UdpPort, std::stoi(text));
  }
  for (const std::string text : {"", "30a0", "x", "-", "+-5", "++5"}) {
    setup_window.Type(ids::kPortEdit, text);
    EXPECT_EQ(state->UdpPort, 3000) << "after '" << text << "'";
  }
  EXPECT_EQ(setup_window.Messages.size(), 6u);
  EXPECT_EQ(setup_window.Messages[0].first, "Please enter an integer.");
  EXPECT_EQ(setup_window.Focus, ids::kPortEdit);
  setup_window.Type(ids::kPortEdit, " -5 ");  // no range check
  EXPECT_EQ(state->UdpPort, -5);
}

TEST_F(SetupDialog, OkReopensOnTheNewPortStoresItAndTheNextTickTitlesIt) {
  const std::uint16_t new_port = UdpPeer().Port();
  setup_window.Type(ids::kPortEdit, std::to_string(new_port));
  setup.OnOK();
  EXPECT_EQ(setup_window.Result, ids::kOk);
  EXPECT_EQ(BoundPort(state->UdpSocket), new_port);
  EXPECT_TRUE(state->EndpointBound);
  EXPECT_EQ(ReadSetting("UDP_Port"), new_port);
  EXPECT_EQ(window.Title, Title(old_port));

  main.OnTimer(1500);
  EXPECT_EQ(window.Title, Title(new_port));
  EXPECT_FALSE(state->TitleStale);
}

TEST_F(SetupDialog, OkWithTextThatIsNoIntegerKeepsTheDialogOpenAndReopensNothing) {
  setup_window.Type(ids::kPortEdit, "22x");
  setup.OnOK();
  EXPECT_FALSE(setup_window.Result.has_value());
  EXPECT_EQ(state->UdpSocket, kInvalidSocket);
  EXPECT_FALSE(state->TitleStale);

  // Corrected, the next OK opens exactly one endpoint.
  setup_window.Type(ids::kPortEdit, std::to_string(old_port));
  setup.OnOK();
  EXPECT_TRUE(state->EndpointBound);
  EXPECT_EQ(BoundPort(state->UdpSocket), old_port);
}

TEST_F(SetupDialog, OkOnAPortHeldElsewhereSaysNotListening) {
  UdpPeer other_program;
  setup_window.Type(ids::kPortEdit, std::to_string(other_program.Port()));
  setup.OnOK();
  main.OnTimer(1500);
  EXPECT_EQ(window.Title, Title(other_program.Port()) + " (not listening)");
}

TEST_F(SetupDialog, CancelKeepsTheBridgeListeningOnItsOldPort) {
  const std::string settings_before = SettingsFileText();
  const std::uint16_t typed = UdpPeer().Port();
  setup_window.Type(ids::kPortEdit, std::to_string(typed));
  setup.OnCancel();
  EXPECT_EQ(setup_window.Result, ids::kCancel);
  EXPECT_EQ(state->UdpPort, old_port);
  EXPECT_EQ(BoundPort(state->UdpSocket), old_port);
  EXPECT_EQ(SettingsFileText(), settings_before);  // nothing written
  main.OnTimer(1500);
  EXPECT_EQ(window.Title, Title(old_port));

  // And it really hears JTDX there.
  UdpPeer jtdx;
  jtdx.SendTo(old_port, {0xAD, 0xBC, 0xCB, 0xDA, 0});
  EXPECT_TRUE(ReceiveSoon(*state));
}

}  // namespace
