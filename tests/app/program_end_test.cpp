#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/relvan_app.h"
#include "bridge_fixture.h"
#include "jtdx_messages.h"
#include "ui/relvan_dlg.h"

namespace {

using ProgramEnd = BridgeFixture;

// Esc with a contact queued that finds no Tolm and no unsaved file to take
// it (a folder of that name, which refuses even root): its box is left for
// the front end to show once the window has gone.
TEST_F(ProgramEnd, ContactKeptNowhereAtTheEndIsToldAfterTheWindowHasGone) {
  std::filesystem::create_directories(settings.UnsavedContactsPath());
  auto absent = std::make_unique<RecordingHost>(false);
  absent->AttachAvailable = false;
  CRelvanApp app(std::move(absent), net, settings);
  FakeWindowPort desktop;
  desktop.ChildScript = [&](Dialog& main, FakeWindowPort&) {
    QsoLoggedMessage qso;
    qso.DxCall = "N0LOST";
    net.Arrive(2237, EncodeMessage(qso));
    main.OnCancel();
  };
  EXPECT_FALSE(app.InitInstance(desktop));
  const std::vector<std::string> told = app.TakeEndMessages();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("N0LOST"), std::string::npos);
  EXPECT_NE(told[0].find("Please enter it in Tolm by hand"), std::string::npos);
  EXPECT_TRUE(app.TakeEndMessages().empty());
}

// Finish with a contact queued: it is saved in Tolm as the program ends,
// and the socket is closed.
TEST_F(ProgramEnd, FinishSavesWhatIsQueuedAndClosesTheSocket) {
  auto tolm = std::make_unique<RecordingHost>(true);
  const RecordingHost& saved = *tolm;
  CRelvanApp app(std::move(tolm), net, settings);
  FakeWindowPort desktop;
  desktop.ChildScript = [&](Dialog& main, FakeWindowPort&) {
    net.Arrive(2237, EncodeMessage(QsoLoggedMessage()));
    main.OnOK();
  };
  EXPECT_FALSE(app.InitInstance(desktop));
  EXPECT_EQ(std::count(saved.Lines().begin(), saved.Lines().end(), R"(ExecMacro "<SAVEQSO>")"), 1);
  EXPECT_EQ(net.Open, 0);
}

}  // namespace
