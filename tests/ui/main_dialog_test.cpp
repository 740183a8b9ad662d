#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "read_adif_log.h"
#include "bridge_fixture.h"
#include "core/file_path.h"
#include "jtdx_messages.h"
#include "bridge/endpoint.h"
#include "ui/relvan_dlg.h"
#include "ui/resource_ids.h"

namespace {

// The main dialog on sockets of memory: JTDX's datagrams are queued bytes.
class MainDialog : public BridgeFixture {
 protected:
  // Starts the dialog with a port of its own stored.
  void OpenOnItsPort(const std::string& more_settings = "") {
    WriteSettingsFile("[Settings]\n" + more_settings + "UDP_Port=" + std::to_string(port) + "\n");
    ASSERT_TRUE(window.Open(dialog));
  }
  // A datagram from JTDX, and the tick that takes it.
  void Arrive(const std::vector<std::uint8_t>& datagram) {
    net.Arrive(port, datagram);
    dialog.OnTimer(1500);
  }

  CRelvanDlg dialog{bridge, settings, exits};
  std::uint16_t port = 2240;
};

// The first start's own values, the folder "Plugins" and port 2237 where no
// file says otherwise, are the settings' (dialog_settings_test); the dialog
// is started here with only a port stored, one of its own.
TEST_F(MainDialog, StartWithOnlyAPortStoredPlacesTheWindowListensAndTitles) {
  OpenOnItsPort();
  EXPECT_EQ(window.Moves, (std::vector<std::pair<int, int>>{{10, 10}}));
  EXPECT_EQ(state->Endpoint.Port(), port);
  EXPECT_TRUE(state->Endpoint.Bound());
  EXPECT_EQ(window.Title, Title(port));
  EXPECT_EQ(window.Timers, (std::map<unsigned, unsigned>{{1500, 100}}));
  EXPECT_EQ(window.MenuItems.size(), 1u);
  EXPECT_EQ(window.MenuItems[0].first, 16u);
  EXPECT_EQ(host.AttachAttempts, 1);  // tried once; the ticks try again
  // The six empty fields went to their controls, in exchange order.
  EXPECT_EQ(window.Pushed, (std::vector<int>{1000, 1001, 1003, 1004, 1006, 1005, 1008}));
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Listening on port " + std::to_string(port));
  EXPECT_EQ(SettingsFileText(), "[Settings]\nUDP_Port=" + std::to_string(port) + "\n");  // nothing written
}

// A second Relvan on the port (one from the Startup folder, one started by
// hand) takes nothing, says why, and takes over once the first has ended.
TEST_F(MainDialog, PortAnotherRelvanListensOnIsTakenOverOnceItHasEnded) {
  net.LockedByAnother = {port};
  OpenOnItsPort();
  const std::string waiting = "Relvan already listens on port " + std::to_string(port);
  EXPECT_EQ(window.Controls[ids::kStatusLine], waiting);
  EXPECT_FALSE(state->Endpoint.Bound());
  Arrive(EncodeMessage(QsoLoggedMessage()));  // the first Relvan's
  EXPECT_TRUE(host.Lines().empty());
  clock.Advance(std::chrono::seconds(3));
  dialog.OnTimer(1500);
  EXPECT_EQ(window.Controls[ids::kStatusLine], waiting);

  net.LockedByAnother.clear();  // the first one ends
  clock.Advance(std::chrono::seconds(3));
  dialog.OnTimer(1500);
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Listening on port " + std::to_string(port));
  EXPECT_EQ(net.Locks.size(), 1u);
  EXPECT_EQ(net.Locks.begin()->second, port);
  state->Endpoint.Close();
  EXPECT_TRUE(net.Locks.empty());
}

// Shared, JTDX still sending to 127.0.0.1 reaches Relvan today, but a second
// reader of the port may be given such datagrams instead: the line says so
// until one comes through the group again.
TEST_F(MainDialog, SharedEndpointTellsOfASenderThatDoesNotSendToTheGroup) {
  OpenOnItsPort("UDP_Group=239.255.0.1\n");
  net.Destination = kLoopbackIp;
  Arrive(EncodeMessage(StatusMessage()));
  EXPECT_EQ(window.Controls[ids::kStatusLine], "JTDX does not send to the group");
  net.Destination = *ParseMulticastGroup("239.255.0.1");
  Arrive(EncodeMessage(StatusMessage()));
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Listening on 239.255.0.1:" + std::to_string(port));
}

TEST_F(MainDialog, PortHeldAtStartIsShownAndTakenOnceTheOtherProgramLetsGo) {
  net.Bind = BindResult::Held;
  OpenOnItsPort();
  EXPECT_EQ(window.Title, Title(port));
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Port " + std::to_string(port) + " is held by another program");
  EXPECT_TRUE(window.TimerRunning(1500));

  net.Bind = BindResult::Bound;  // the other program lets go
  clock.Advance(std::chrono::seconds(2));
  dialog.OnTimer(1500);
  EXPECT_FALSE(state->Endpoint.Bound());  // tried again every 3 s, not every tick
  clock.Advance(std::chrono::seconds(1));
  dialog.OnTimer(1500);
  EXPECT_TRUE(state->Endpoint.Bound());
  EXPECT_EQ(net.Open, 1);  // the socket that was refused is closed
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Listening on port " + std::to_string(port));
  EXPECT_TRUE(window.Messages.empty());

  Arrive(EncodeMessage(QsoLoggedMessage()));
  EXPECT_EQ(host.Lines().back(), R"(ExecMacro "<SAVEQSO>")");
}

TEST_F(MainDialog, ContactsThatMissTolmAreKeptAndToldOfOneBoxAtATime) {
  host.AttachAvailable = false;  // Tolm is not running
  OpenOnItsPort();
  const std::string unsaved = (dir.Path() / "Plugins" / "Tolm_JTDX_unsaved.adi").string();
  EXPECT_EQ(state->Unsaved.Path(), unsaved);
  auto arrive = [&](const auto& message) { Arrive(EncodeMessage(message)); };
  auto qso = [](std::string call) {
    QsoLoggedMessage message;
    message.DxCall = std::move(call);
    return message;
  };

  // Two more contacts come while the first box is up: the ticks go on under
  // it, and the two get one box of their own after it.
  int boxes = 0;
  window.WhileMessageShown = [&] {
    if (++boxes > 1) return;
    arrive(qso("W9XYZ"));
    arrive(qso("DL2XYZ"));
    EXPECT_TRUE(window.TimerRunning(1500));
  };
  arrive(qso("K1ABC"));
  ASSERT_EQ(window.Messages.size(), 2u);
  EXPECT_EQ(window.Messages[0].first,
            "The contact with K1ABC at 12:01 UTC was not saved in Tolm, which is not "
            "running. It was added to " +
                unsaved + ": import that file into Tolm.");
  EXPECT_EQ(window.Messages[1].first, "2 more contacts (W9XYZ, DL2XYZ) were added to " + unsaved + ".");

  // Each record carries the contact's own date and times from the datagram.
  const AdifFile kept = ReadAdifLog(unsaved);
  ASSERT_EQ(kept.Records.size(), 3u);
  const auto& first = kept.Records[0];
  EXPECT_EQ(first.at("CALL"), "K1ABC");
  EXPECT_EQ(first.at("QSO_DATE"), "20240601");
  EXPECT_EQ(first.at("TIME_ON"), "120000");
  EXPECT_EQ(first.at("TIME_OFF"), "120130");
  EXPECT_EQ(first.at("FREQ"), "14.075500");
  EXPECT_EQ(window.Controls[ids::kStatusLine], "3 contacts wait in Tolm_JTDX_unsaved.adi");

  // Tolm comes back but refuses every call: one box for the outage, however
  // often it fails.
  window.WhileMessageShown = nullptr;
  host.AttachAvailable = true;
  host.FailAfter = 0;
  arrive(StatusMessage());
  ASSERT_EQ(window.Messages.size(), 3u);
  EXPECT_EQ(window.Messages[2].first,
            "Tolm stopped answering; Relvan will attach again when it runs "
            R"((SetLogField: refused SetLogField 0 "").)");
  const int attempts = host.AttachAttempts;
  clock.Advance(std::chrono::seconds(3));
  dialog.OnTimer(1500);
  EXPECT_EQ(host.AttachAttempts, attempts + 1);
  EXPECT_EQ(window.Messages.size(), 3u);
  EXPECT_TRUE(window.TimerRunning(1500));
}

// Something named like the unsaved file (a folder, which refuses even root)
// takes no contact; once it is gone the status line tells the present again.
TEST_F(MainDialog, FileThatTookNoContactIsLookedAtAgainAndTheNextContactWaits) {
  host.AttachAvailable = false;
  OpenOnItsPort();
  std::filesystem::create_directory(state->Unsaved.Path());
  auto arrive = [&](const std::string& call) {
    QsoLoggedMessage message;
    message.DxCall = call;
    Arrive(EncodeMessage(message));
  };
  arrive("K1ABC");
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Settings folder cannot be written");
  clock.Advance(std::chrono::seconds(3));
  dialog.OnTimer(1500);
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Settings folder cannot be written");

  std::filesystem::remove(state->Unsaved.Path());
  clock.Advance(std::chrono::seconds(3));
  dialog.OnTimer(1500);
  EXPECT_EQ(window.Controls[ids::kStatusLine], "Tolm is not running");
  EXPECT_FALSE(std::filesystem::exists(state->Unsaved.Path()));  // the look made no file
  arrive("W9XYZ");
  EXPECT_EQ(window.Controls[ids::kStatusLine], "1 contact waits in Tolm_JTDX_unsaved.adi");
}

TEST_F(MainDialog, BoxesOfALongOutageNameTenCallsAndEachKeepsItsOwnReason) {
  OpenOnItsPort();
  const std::string unsaved = Utf8FromPath(state->Unsaved.Path());
  using Miss = OperatorNotice::Miss;
  const auto contact = [](std::string call, Miss why, bool kept) {
    OperatorNotice notice;
    notice.What = OperatorNotice::Kind::ContactNotSaved;
    notice.Why = why;
    notice.HostDetail = why == Miss::HostNotRunning ? "" : "ExecMacro: Broken pipe";
    notice.Contact.Call = std::move(call);
    notice.Contact.TimeOn = notice.Contact.TimeOff =
        std::chrono::sys_days{std::chrono::year{2024} / 6 / 1} + std::chrono::minutes{1121};
    notice.Contact.FrequencyHz = 14075500;
    notice.Contact.Mode = "FT8";
    notice.Contact.RptSent = "-5";
    notice.Contact.RptRcvd = "-12";
    notice.Contact.Name = "Bob";
    notice.Kept = kept;
    notice.FileProblem = kept ? "" : "Permission denied";
    return notice;
  };
  state->Notices.push_back(contact("W9XYZ", Miss::CallFailed, true));
  state->Notices.push_back(contact("K1ABC", Miss::SaveMayHaveRun, true));
  state->Notices.push_back(contact("DL2XYZ", Miss::HostNotAnswering, true));
  state->Notices.push_back(contact("N0LOST", Miss::HostNotAnswering, false));
  state->Notices.push_back(contact("К1ABC", Miss::NotACallSign, true));
  OperatorNotice q65 = contact("K3GHI", Miss::ModeNotSettable, false);
  q65.Contact.Mode = "Q65";
  state->Notices.push_back(q65);
  for (int i = 0; i < 400; ++i) {
    std::string call = "K";
    call += std::to_string(i);  // not "K" + ...: MinGW's GCC 12 takes that for an overlapping copy at -O3
    state->Notices.push_back(contact(std::move(call), Miss::HostNotRunning, true));
  }
  dialog.OnTimer(1500);

  ASSERT_EQ(window.Messages.size(), 6u);
  EXPECT_EQ(window.Messages[1].first,
            "Tolm may have saved the contact with K1ABC at 18:41 UTC before it failed "
            "(ExecMacro: Broken pipe). It was also added to " +
                unsaved + ": look in Tolm's log before you import that file.");
  EXPECT_EQ(window.Messages[0].first,
            "The contact with W9XYZ at 18:41 UTC was not saved in Tolm (ExecMacro: Broken pipe). It was added to " +
                unsaved + ": import that file into Tolm.");
  // The contacts kept meanwhile go together, ten calls by name; one that may
  // be in Tolm's log already has a box of its own.
  EXPECT_EQ(window.Messages[2].first,
            "401 more contacts (DL2XYZ, K0, K1, K2, K3, K4, K5, K6, K7, K8 and 391 more) "
            "were added to " +
                unsaved + ".");
  // A contact kept nowhere has a box of its own, with all of it.
  EXPECT_EQ(window.Messages[3].first,
            "The contact with N0LOST at 18:41 UTC was not saved in Tolm, which is not answering (ExecMacro: Broken "
            "pipe), and could not be added to " +
                unsaved +
                " either (Permission denied). Please enter it in Tolm by hand:\n"
                "2024-06-01, 18:41 to 18:41 UTC, N0LOST\n14075.50 kHz (20m), FT8, sent -5, received -12\nname Bob");
  // So do the contacts Tolm was not given as they stand: each asks its own of
  // the operator.
  EXPECT_EQ(window.Messages[4].first,
            "The call \"К1ABC\" of the contact at 18:41 UTC has characters no call "
            "sign has, so it was not saved in Tolm. It was added to " +
                unsaved + ": import that file into Tolm, then correct the call there.");
  EXPECT_EQ(
      window.Messages[5].first,
      "Relvan cannot set Tolm to Q65, so the contact with K3GHI at 18:41 UTC was not saved in Tolm, and could not "
      "be added to " +
          unsaved +
          " either (Permission denied). Please enter it in Tolm by hand:\n"
          "2024-06-01, 18:41 to 18:41 UTC, K3GHI\n14075.50 kHz (20m), Q65, sent -5, received -12\nname Bob");
}

TEST_F(MainDialog, FinishPullsTheFields) {
  OpenOnItsPort();
  window.Controls[ids::kGridEdit] = "FN42";
  dialog.OnOK();  // the Finish button, or Enter anywhere in the dialog
  EXPECT_EQ(window.Result, ids::kOk);
  EXPECT_EQ(dialog.Fields().Grid, "FN42");
}

TEST_F(MainDialog, CancelEndsWithoutClosingTheSocket) {
  OpenOnItsPort();
  dialog.OnCancel();
  EXPECT_EQ(window.Result, ids::kCancel);
  EXPECT_EQ(net.Open, 1);
}

TEST_F(MainDialog, SystemCommands16To31OpenTheAboutBox) {
  OpenOnItsPort();
  for (unsigned command = 16; command <= 31; ++command) EXPECT_TRUE(dialog.OnSysCommand(command));
  EXPECT_EQ(window.ChildTemplates, std::vector<int>(16, ids::kAboutTemplate));
  EXPECT_FALSE(dialog.OnSysCommand(0xF060));  // SC_CLOSE keeps its usual effect
  EXPECT_FALSE(dialog.OnSysCommand(32));
  EXPECT_EQ(window.ChildTemplates.size(), 16u);
}

TEST_F(MainDialog, SecondSetupRequestWhileOneIsOpenIsIgnored) {
  OpenOnItsPort();
  window.ChildScript = [&](Dialog&, FakeWindowPort&) { dialog.OnButtonClicked(ids::kSetupButton); };
  dialog.OnButtonClicked(ids::kSetupButton);
  EXPECT_EQ(window.ChildTemplates, std::vector<int>{ids::kSetupTemplate});
  dialog.OnButtonClicked(ids::kSetupButton);  // closed again: a new one opens
  EXPECT_EQ(window.ChildTemplates.size(), 2u);
}

TEST_F(MainDialog, PositionCacheIsSharedWithTheSetupDialog) {
  OpenOnItsPort();  // placed at 10, 10
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
