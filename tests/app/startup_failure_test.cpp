#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "app/relvan_app.h"
#include "bridge_fixture.h"
#include "ui/relvan_dlg.h"
#include "ui/resource_ids.h"
#include "ui/setup_dlg.h"

namespace {

// A host link that says when it is released.
class ReleaseReportingHost : public RecordingHost {
 public:
  ~ReleaseReportingHost() override { std::fputs("host released\n", stderr); }
};

// Starts the program as main does, with the application in static storage,
// and a host that is attached from the start.
void StartProgram(Net& net, const SettingsFolder& settings) {
  static CRelvanApp app(std::make_unique<ReleaseReportingHost>(), net, settings);
  FakeWindowPort desktop;
  app.InitInstance(desktop);
}

using StartupFailure = BridgeFixture;

TEST_F(StartupFailure, SocketsThatDoNotStartEndTheProgramWithCode10AndReleaseTheHost) {
  net.StartFails = true;
  EXPECT_EXIT(StartProgram(net, settings), ::testing::ExitedWithCode(10), "host released");
}

TEST_F(StartupFailure, NoSocketEndsTheProgramWithCode11AndReleasesTheHost) {
  net.CreateFails = true;
  EXPECT_EXIT(StartProgram(net, settings), ::testing::ExitedWithCode(11), "host released");
}

TEST_F(StartupFailure, BlockingSocketStartsNoTimer) {
  net.NonBlockingFails = true;
  CRelvanDlg dialog(bridge, settings, exits);
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(window.Open(dialog));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "failed to set non-blocking socket\n");
  EXPECT_TRUE(window.Timers.empty());
  EXPECT_EQ(window.Title, "Tolm<->JTDX UDP port = 2237");
}

TEST_F(StartupFailure, BlockingSocketFromSetupIsClosedAtOnceAndTheBridgeStaysOnItsPort) {
  CRelvanDlg dialog(bridge, settings, exits);
  ASSERT_TRUE(window.Open(dialog));
  const SocketHandle listening = state->Endpoint.Socket();
  net.NonBlockingFails = true;
  std::string printed;
  window.ChildScript = [&](Dialog& setup, FakeWindowPort& setup_window) {
    setup_window.Type(ids::kPortEdit, "2238");
    ::testing::internal::CaptureStdout();
    setup.OnOK();
    printed = ::testing::internal::GetCapturedStdout();
  };
  dialog.OnButtonClicked(ids::kSetupButton);
  EXPECT_EQ(printed, "failed to set non-blocking socket\n");
  EXPECT_EQ(state->Endpoint.Socket(), listening);
  EXPECT_EQ(net.Open, 1);
  dialog.OnTimer(1500);
  EXPECT_EQ(window.Title, "Tolm<->JTDX UDP port = 2237");
}

// Windows refuses a port it keeps for itself (WSAEACCES) otherwise than one
// a program holds: the operator reads which it is.
TEST_F(StartupFailure, PortReservedByWindowsIsNamedSoAtStartAndInSetup) {
  net.Bind = BindResult::Reserved;
  CRelvanDlg dialog(bridge, settings, exits);
  ASSERT_TRUE(window.Open(dialog));
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Port 2237 is reserved by Windows");
  std::string said;
  window.ChildScript = [&](Dialog& setup, FakeWindowPort& setup_window) {
    setup_window.Type(ids::kPortEdit, "2238");
    setup.OnOK();
    said = setup_window.Messages.at(0).first;
    setup.OnCancel();
  };
  dialog.OnButtonClicked(ids::kSetupButton);
  EXPECT_EQ(said,
            "Port 2238 is reserved by Windows; Relvan cannot hear JTDX until that port is free or another is chosen.");
}

TEST_F(StartupFailure, NoSocketFromSetupEndsTheProgramWithCode11) {
  CRelvanDlg dialog(bridge, settings, exits);
  ASSERT_TRUE(window.Open(dialog));
  net.CreateFails = true;
  window.ChildScript = [](Dialog& setup, FakeWindowPort& setup_window) {
    setup_window.Type(ids::kPortEdit, "2238");
    setup.OnOK();
  };
  EXPECT_EXIT(dialog.OnButtonClicked(ids::kSetupButton), ::testing::ExitedWithCode(11), "");
}

}  // namespace
