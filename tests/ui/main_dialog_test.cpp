#include <gtest/gtest.h>

#include <filesystem>

#include "bridge_fixture.h"
#include "jtdx_messages.h"
#include "link/endpoint.h"
#include "socket_info.h"
#include "link/socket_ops.h"
#include "settings/settings_file.h"
#include "socket_wait.h"
#include "udp_peer.h"
#include "ui/relvan_dlg.h"
#include "ui/resource_ids.h"

namespace {

class MainDialog : public BridgeFixture {
 protected:
  void TearDown() override { CloseEndpoint(*state); }

  // Starts the dialog listening on a port nothing else holds.
  void OpenOnFreePort() {
    port = UdpPeer().Port();
    WriteSettingsFile("[Settings]\nUDP_Port=" + std::to_string(port) + "\n");
    ASSERT_TRUE(window.Open(dialog));
  }

  std::string Title(int p) const { return "Tolm<->JTDX UDP port = " + std::to_string(p); }

  CRelvanDlg dialog{*state, host, exits};
  std::uint16_t port = 0;
};

TEST_F(MainDialog, FirstStartCreatesPluginsPlacesWindowListensAndTitles) {
  ASSERT_TRUE(window.Open(dialog));
  if (!state->EndpointBound) GTEST_SKIP() << "another program holds UDP port 2237";
  EXPECT_TRUE(std::filesystem::is_directory("Plugins"));
  EXPECT_EQ(window.Moves, (std::vector<std::pair<int, int>>{{10, 10}}));
  EXPECT_EQ(state->UdpPort, 2237);
  EXPECT_TRUE(state->EndpointBound);
  EXPECT_EQ(BoundPort(state->UdpSocket), 2237);
  EXPECT_EQ(window.Title, Title(2237));
  EXPECT_EQ(window.Timers, (std::map<unsigned, unsigned>{{1500, 100}}));
  EXPECT_EQ(window.MenuItems.size(), 1u);
  EXPECT_EQ(window.MenuItems[0].first, 16u);
  EXPECT_EQ(host.AttachAttempts, 1);  // tried once; the ticks try again
  // The six empty fields went to their controls, in exchange order.
  EXPECT_EQ(window.Pushed, (std::vector<int>{1000, 1001, 1003, 1004, 1006, 1005}));
  EXPECT_FALSE(std::filesystem::exists("Plugins/Tolm_JTDX.ini"));  // nothing written
}

TEST_F(MainDialog, StoredPositionAndPortFallBackOnlyWhereTheyReadAsZero) {
  WriteSettingsFile("[Settings]\ntolm_jtdx_x=0\ntolm_jtdx_y=-1080\nUDP_Port=none\n");
  ASSERT_TRUE(window.Open(dialog));
  EXPECT_EQ(window.Moves, (std::vector<std::pair<int, int>>{{10, -1080}}));
  EXPECT_EQ(state->UdpPort, 2237);
}

TEST_F(MainDialog, PortHeldByAnotherProgramIsShownInTheTitle) {
  UdpPeer other_program;
  WriteSettingsFile("[Settings]\nUDP_Port=" + std::to_string(other_program.Port()) + "\n");
  ASSERT_TRUE(window.Open(dialog));
  EXPECT_EQ(window.Title, Title(other_program.Port()) + " (not listening)");
  EXPECT_TRUE(window.TimerRunning(1500));
}

TEST_F(MainDialog, ContactsThatCannotBeSavedAreReportedAndTheBridgeCarriesOn) {
  OpenOnFreePort();
  UdpPeer jtdx;
  auto tick_on = [&](const QsoLoggedMessage& qso) {
    jtdx.SendTo(port, EncodeMessage(qso));
    ASSERT_TRUE(WaitForDatagram(state->UdpSocket));
    dialog.OnTimer(1500);
  };
  QsoLoggedMessage qso;
  qso.DxCall = "K1ABC";

  // Tolm goes away in the middle of the contact.
  host.FailAfter = 3;
  tick_on(qso);
  ASSERT_EQ(window.Messages.size(), 1u);
  EXPECT_EQ(window.Messages[0].second, MessageKind::Error);
  EXPECT_TRUE(window.Messages[0].first.starts_with("The contact with K1ABC was not saved in Tolm: "))
      << window.Messages[0].first;
  EXPECT_FALSE(host.IsAttached());  // let go of after the box
  EXPECT_TRUE(window.TimerRunning(1500));

  // While it is away, a contact cannot be saved either, and the window says so.
  host.AttachAvailable = false;
  qso.DxCall = "W9XYZ";
  tick_on(qso);
  ASSERT_EQ(window.Messages.size(), 2u);
  EXPECT_EQ(window.Messages[1].first, "The contact with W9XYZ was not saved: Tolm is not running.");
  EXPECT_TRUE(window.TimerRunning(1500));

  // Back again: the next contact is saved.
  host.AttachAvailable = true;
  host.FailAfter = -1;
  host.Take();
  qso.DxCall = "N0XYZ";
  tick_on(qso);
  EXPECT_EQ(window.Messages.size(), 2u);
  const std::vector<std::string> calls = host.Take();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), R"(SetLogField 0 "N0XYZ")");
  EXPECT_EQ(calls.back(), R"(ExecMacro "<SAVEQSO>")");
  EXPECT_TRUE(window.Title.ends_with(std::to_string(port))) << window.Title;
}

TEST_F(MainDialog, FinishPullsTheFieldsAndClosesTheSocket) {
  OpenOnFreePort();
  window.Controls[ids::kGridEdit] = "FN42";
  dialog.OnOK();  // the Finish button, or Enter anywhere in the dialog
  EXPECT_EQ(window.Result, ids::kOk);
  EXPECT_EQ(dialog.Fields().Grid, "FN42");
  EXPECT_EQ(state->UdpSocket, kInvalidSocket);
}

TEST_F(MainDialog, CancelEndsWithoutClosingTheSocket) {
  OpenOnFreePort();
  dialog.OnCancel();
  EXPECT_EQ(window.Result, ids::kCancel);
  EXPECT_NE(state->UdpSocket, kInvalidSocket);
}

TEST_F(MainDialog, SystemCommands16To31OpenTheAboutBox) {
  OpenOnFreePort();
  for (unsigned command = 16; command <= 31; ++command) EXPECT_TRUE(dialog.OnSysCommand(command));
  EXPECT_EQ(window.ChildTemplates, std::vector<int>(16, ids::kAboutTemplate));
  EXPECT_FALSE(dialog.OnSysCommand(0xF060));  // SC_CLOSE keeps its usual effect
  EXPECT_FALSE(dialog.OnSysCommand(32));
  EXPECT_EQ(window.ChildTemplates.size(), 16u);
}

TEST_F(MainDialog, SecondSetupRequestWhileOneIsOpenIsIgnored) {
  OpenOnFreePort();
  window.ChildScript = [&](Dialog&, FakeWindowPort&) { dialog.OnButtonClicked(ids::kSetupButton); };
  dialog.OnButtonClicked(ids::kSetupButton);
  EXPECT_EQ(window.ChildTemplates, std::vector<int>{ids::kSetupTemplate});
  EXPECT_FALSE(state->SetupOpen);
  dialog.OnButtonClicked(ids::kSetupButton);  // closed again: a new one opens
  EXPECT_EQ(window.ChildTemplates.size(), 2u);
}

TEST_F(MainDialog, PositionCacheIsSharedWithTheSetupDialog) {
  OpenOnFreePort();  // placed at 10, 10
  dialog.OnSetCursor();
  EXPECT_EQ(ReadSetting("tolm_jtdx_x"), 0);  // unchanged: nothing written

  window.Rect = {10, 25, 310, 225};  // moved down only
  dialog.OnSetCursor();
  EXPECT_EQ(ReadSetting("tolm_jtdx_x"), 0);
  EXPECT_EQ(ReadSetting("tolm_jtdx_y"), 25);

  window.ChildScript = [](Dialog& setup, FakeWindowPort& setup_window) {
    EXPECT_EQ(setup_window.Moves, (std::vector<std::pair<int, int>>{{200, 10}}));
    setup.OnSetCursor();  // at its place already: nothing to write
    setup.OnCancel();
  };
  dialog.OnButtonClicked(ids::kSetupButton);
  EXPECT_EQ(ReadSetting("Setup_x"), 0);

  // The cache now holds the Setup dialog's 200, 10: the main dialog writes
  // its own unchanged coordinates again.
  dialog.OnSetCursor();
  EXPECT_EQ(ReadSetting("tolm_jtdx_x"), 10);
  EXPECT_EQ(ReadSetting("tolm_jtdx_y"), 25);
}

}  // namespace
