#include <algorithm>
#include <filesystem>

#include "adif/adif_file.h"
#include "host_transcripts.h"
#include "read_file.h"
#include "temp_dir.h"
#include "tick_fixture.h"

namespace {

class QsoLoggedHandling : public TickTest {
 protected:
  static QsoLoggedMessage Qso(std::string call = "K1ABC") {
    QsoLoggedMessage qso;
    qso.DxCall = std::move(call);
    qso.DxGrid = "FN42";
    qso.TxFrequency = 14075500;
    qso.Mode = "FT8";
    qso.RptSent = "-5";
    qso.RptRcvd = "-12";
    qso.TxPower = "50";
    qso.Name = "Bob";
    qso.Comments = "tnx";
    return qso;
  }
  int Saves() {
    int saves = 0;
    for (const std::string& line : Calls()) saves += line == R"(ExecMacro "<SAVEQSO>")";
    return saves;
  }
};

TEST_F(QsoLoggedHandling, FillsTheEntryThenSavesItWithTheTxFrequency) {
  Tick(Qso());
  EXPECT_EQ(Calls(), QsoLoggedCalls({"K1ABC", "FN42", "Bob", "-5", "-12", "tnx", "14075500"}));
  ASSERT_EQ(window.Pushes.size(), 2u);
  EXPECT_EQ(window.Pushes[0], (DisplayFields{"K1ABC", "-5", "-12", "FN42", "14075.50", "FT8"}));
  // After the save the call is gone from the window, the rest stays.
  EXPECT_EQ(window.Pushes[1], (DisplayFields{"", "-5", "-12", "FN42", "14075.50", "FT8"}));
  // Kept as a Status is: one for the same station on its frequency changes nothing.
  StatusMessage on_contact = Ft8Status();
  on_contact.DialFrequency = 14075500;
  Tick(on_contact);
  EXPECT_EQ(Calls(), Lines{});
}

TEST_F(QsoLoggedHandling, EmptyNameIsNotSentButEveryOtherEmptyFieldIs) {
  QsoLoggedMessage qso = Qso();
  qso.Name = "";
  qso.Comments = "";
  qso.RptRcvd = "";
  Tick(qso);
  const Lines calls = Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), R"(SetLogField 1 "")"), 0);
  EXPECT_EQ(Lines(calls.begin() + 3, calls.begin() + 6),
            (Lines{R"(SetLogField 5 "-5")", R"(SetLogField 2 "")", R"(SetLogField 4 "")"}));
}

TEST_F(QsoLoggedHandling, TheSameBytesAgainAreSavedOnceEveryOtherContactIsSaved) {
  Tick(Qso());
  Tick(Qso());  // a resend, or a relay that duplicates
  Tick();
  EXPECT_EQ(Saves(), 1);

  // The same station worked again on another band with no Status between,
  // and again later: contacts of their own.
  QsoLoggedMessage again = Qso();
  again.TxFrequency = 7075500;
  Tick(again);
  QsoLoggedMessage later = Qso();
  later.TimeOff.MsOfDay += 10 * 60 * 1000;
  Tick(later);
  EXPECT_EQ(Saves(), 2);

  // A contact sent again after another one, whole or with other bytes (a
  // relay's later fields), is still the contact saved already.
  Tick(Qso());
  QsoLoggedMessage relayed = Qso();
  relayed.MyGrid = "EN61aa";
  Tick(relayed);
  EXPECT_EQ(Saves(), 0);
}

// "(N today)" on the status line counts from 00:00 UTC, wherever the
// machine is (the suite runs in more than one zone).
TEST_F(QsoLoggedHandling, SavedCountStartsAgainAtMidnightUtc) {
  using namespace std::chrono;
  clock.now = sys_days{year{2024} / 6 / 1} + hours{23} + minutes{59};
  Tick(Qso("K1ABC"));
  EXPECT_EQ(state->Host.SavedCount(), 1);
  clock.Advance(minutes{2});
  Tick(Qso("W9XYZ"));
  EXPECT_EQ(state->Host.SavedCount(), 1);
  EXPECT_EQ(state->Host.LastSavedCall(), "W9XYZ");
}

TEST_F(QsoLoggedHandling, ContactWithoutACallIsNoContactAndAnImpossibleFrequencyIsLeftOut) {
  Tick(Qso(""));
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(window.Pushes.empty());

  QsoLoggedMessage qso = Qso();
  qso.TxFrequency = std::uint64_t{1} << 63;
  Tick(qso);
  const Lines calls = Calls();
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& line) { return line.starts_with("Tx"); }),
            0);
  EXPECT_EQ(calls.back(), R"(ExecMacro "<SAVEQSO>")");
  EXPECT_EQ(window.Shown().Freq, "");
}

// A contact cut after its name or a later field is still that contact: sent
// cut at every byte in turn, it is saved once.
TEST_F(QsoLoggedHandling, EveryCutOfAContactInTurnIsSavedOnce) {
  QsoLoggedMessage qso = Qso();
  qso.OperatorCall = "OP9X";
  qso.MyCall = "MY9X";
  const Bytes whole = EncodeMessage(qso);
  for (auto end = whole.begin() + 12; end <= whole.end(); ++end) {
    DispatchDatagram(Bytes(whole.begin(), end), *state, host, window);
  }
  EXPECT_EQ(Saves(), 1);
}

constexpr char kCyrillicCall[] = "К1ABC";  // the К typed with a Russian keyboard layout

// A call typed with a Cyrillic letter, or holding a space, a zero byte or
// invalid UTF-8, is no call sign: Tolm is not given the contact, which is
// kept and told of, and no later attach puts it into Tolm's entry.
TEST_F(QsoLoggedHandling, CallThatIsNoCallSignIsKeptAndToldNeverSentToTolm) {
  TempDir dir;
  state->Unsaved.Use(std::filesystem::path(dir.Path()) / "unsaved.adi");
  Tick(Qso(kCyrillicCall));
  Tick(Qso(kCyrillicCall));  // the same datagram again
  EXPECT_EQ(Calls(), Lines{});
  EXPECT_EQ(window.Shown().Call, kCyrillicCall);
  ASSERT_EQ(state->Notices.size(), 1u);
  EXPECT_EQ(state->Notices[0].Why, OperatorNotice::Miss::NotACallSign);
  EXPECT_TRUE(state->Notices[0].Kept);
  EXPECT_EQ(CountAdifRecords(state->Unsaved.Path()).Records, 1);

  for (const std::string& call : {std::string("K1\0ABC", 6), std::string("W9 XYZ"), std::string("\xff\xfeK1")}) {
    Tick(Qso(call));
  }
  EXPECT_EQ(Calls(), Lines{});
  ASSERT_EQ(state->Notices.size(), 4u);
  EXPECT_EQ(state->Notices[1].Contact.Call, "K1 ABC");  // cleaned and kept as sent
  EXPECT_EQ(state->Notices[3].Contact.Call, "\uFFFD\uFFFDK1");

  // A Tolm that attaches later gets the kept Status, but neither the call
  // nor the report of a contact that is to be imported.
  Restart();
  host.DetachHost();
  host.AttachAvailable = false;
  state->Unsaved.Use(std::filesystem::path(dir.Path()) / "unsaved.adi");
  Tick(Ft8Status(kCyrillicCall));
  Tick(Qso(kCyrillicCall));
  host.AttachAvailable = true;
  Tick();
  EXPECT_EQ(Calls(), (Lines{R"(ExecMacro "<MODEADD:FT8>")", "TxFrequency 14075500", "RxFrequency 14075200"}));
}

TEST_F(QsoLoggedHandling, TextsAreCleanedAndTheCallTrimmed) {
  QsoLoggedMessage qso = Qso(" VP2E/K1ABC\r");
  qso.Name =
      "Bo\xff"
      "b";
  qso.Comments = std::string("tnx\r\n73\0", 8);
  Tick(qso);
  EXPECT_EQ(Calls(), QsoLoggedCalls({"VP2E/K1ABC", "FN42", "Bo\uFFFDb", "-5", "-12", "tnx 73 ", "14075500"}));
}

TEST_F(QsoLoggedHandling, ContactInAModeNoMacroSetsIsKeptAndToldNeverSavedInTolmsMode) {
  TempDir dir;
  state->Unsaved.Use(std::filesystem::path(dir.Path()) / "unsaved.adi");
  StatusMessage q65 = Ft8Status("K3GHI");
  q65.Mode = "Q65";
  Tick(q65);
  Calls();
  QsoLoggedMessage qso = Qso("K3GHI");
  qso.Mode = "Q65";
  Tick(qso);
  EXPECT_EQ(Calls(), Lines{});
  ASSERT_EQ(state->Notices.size(), 1u);
  EXPECT_EQ(state->Notices[0].Why, OperatorNotice::Miss::ModeNotSettable);
  const std::string file = FileBytes(state->Unsaved.Path());
  EXPECT_NE(file.find("<MODE:4>MFSK <SUBMODE:3>Q65"), std::string::npos) << file;
  EXPECT_EQ(window.Shown().Mode, "Q65");

  // Both reasons at once: the call's is told.
  qso.DxCall = "K3 GHI";
  Tick(qso);
  EXPECT_EQ(state->Notices.back().Why, OperatorNotice::Miss::NotACallSign);
}

// Tolm's mode may have been changed since the last Status, by hand or by
// another program: every contact sets it to its own first.
TEST_F(QsoLoggedHandling, EveryContactIsSavedInItsOwnMode) {
  StatusMessage dual = Ft8Status();
  dual.Mode = "JT9+JT65";
  Tick(dual);
  Calls();
  QsoLoggedMessage qso = Qso();
  qso.Mode = "JT65";
  Tick(qso);
  EXPECT_EQ(Calls(), QsoLoggedCalls({"K1ABC", "FN42", "Bob", "-5", "-12", "tnx", "14075500"}, "<MODEADD:JT65>"));
  Tick(dual);
  EXPECT_EQ(Calls().front(), R"(ExecMacro "<MODEADD:JT9JT65>")");

  qso.Mode = "";  // no mode said: saved as Tolm is
  qso.DxCall = "W9XYZ";
  Tick(qso);
  EXPECT_EQ(Calls().front(), R"(SetLogField 0 "W9XYZ")");
}

// A save refused half-way leaves the contact's texts in Tolm's entry: the
// next attach empties it first, and the next contact carries none of them.
TEST_F(QsoLoggedHandling, FailedContactsFieldsLeaveTolmsEntryBeforeTheNextOne) {
  TempDir dir;
  state->Unsaved.Use(std::filesystem::path(dir.Path()) / "unsaved.adi");
  Tick(Ft8Status());
  const auto fail_after_more = [&](std::size_t calls) {
    host.FailAfter = static_cast<int>(host.Lines().size() + calls);
  };
  fail_after_more(7);  // the texts go in, the cursor macro is refused
  QsoLoggedMessage qso = Qso();
  qso.Comments = "tnx\t73";
  Tick(qso);
  EXPECT_EQ(host.Lines().back(), R"(SetLogField 4 "tnx 73")");
  EXPECT_FALSE(host.IsAttached());

  // The first try to empty it fails too: the next attach starts with it again.
  fail_after_more(3);
  clock.Advance(kReattachDelay);
  Tick();
  host.FailAfter = -1;
  Calls();
  clock.Advance(kReattachDelay);
  Tick();
  Lines expected = kClearCalls;
  Append(expected, {R"(ExecMacro "<MODEADD:FT8>")", "TxFrequency 14075500", "RxFrequency 14075200"});
  EXPECT_EQ(Calls(), expected);

  QsoLoggedMessage next = Qso("W9XYZ");
  next.Name = "";
  Tick(next);
  const Lines calls = Calls();
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::string& line) { return line.starts_with("SetLogField 1 "); }),
            0);
}

TEST_F(QsoLoggedHandling, FailedSaveSaysWhetherTolmMayHaveSavedAndALaterContactWhyItMissedTolm) {
  TempDir dir;
  const auto contact_after = [&](int calls, bool may_have_run) {
    Restart();
    host = RecordingHost();
    host.FailAfter = calls;
    host.FailMayHaveRun = may_have_run;
    state->Unsaved.Use((std::filesystem::path(dir.Path()) / "unsaved.adi").string());
    Tick(Qso());
    EXPECT_EQ(state->Notices.size(), 1u);  // the contact's notice is the word of the outage
    return state->Notices.back();
  };
  using Miss = OperatorNotice::Miss;
  EXPECT_EQ(contact_after(0, true).Why, Miss::CallFailed);    // the entry was never filled
  EXPECT_EQ(contact_after(10, false).Why, Miss::CallFailed);  // Tolm refused the save
  const OperatorNotice notice = contact_after(10, true);
  EXPECT_EQ(notice.Why, Miss::SaveMayHaveRun);
  EXPECT_TRUE(notice.Kept);
  EXPECT_EQ(notice.HostDetail, R"(ExecMacro: no answer to ExecMacro "<SAVEQSO>")");

  // During the wait after the failed call Tolm is not answering; once an
  // attach finds none, it is not running.
  host.AttachAvailable = false;
  clock.Advance(std::chrono::seconds(2));
  Tick(Qso("W9XYZ"));
  EXPECT_EQ(state->Notices.back().Why, Miss::HostNotAnswering);
  EXPECT_EQ(state->Notices.back().HostDetail, notice.HostDetail);
  clock.Advance(std::chrono::seconds(1));
  Tick(Qso("DL2XYZ"));
  EXPECT_EQ(state->Notices.back().Why, Miss::HostNotRunning);
  EXPECT_EQ(state->Notices.back().HostDetail, "");
}

TEST_F(QsoLoggedHandling, FollowingStatusInTheLoggedModeSendsNoMacro) {
  Tick(Qso());
  Calls();
  Tick(Ft8Status("K1ABC"));
  // The dial differs from the logged frequency, so the frequencies follow.
  EXPECT_EQ(Calls(), (Lines{"TxFrequency 14075500", "RxFrequency 14075200"}));
  EXPECT_EQ(window.Shown().Call, "");  // the call did not change
}

using ClearHandling = TickTest;

TEST_F(ClearHandling, EmptiesTheFieldsAndTheEntryInItsOrder) {
  Tick(Ft8Status());
  Calls();
  Tick(ClearMessage{});
  EXPECT_EQ(Calls(), kClearCalls);
  EXPECT_EQ(window.Shown(), DisplayFields{});

  // A Tolm that refuses it does not keep the last station on the screen.
  Tick(Ft8Status("W9XYZ"));
  host.FailAfter = 0;
  Tick(ClearMessage{});
  EXPECT_EQ(window.Shown(), DisplayFields{});
}

TEST_F(ClearHandling, FollowingStatusRefillsOnlyWhatChanged) {
  StatusMessage status = Ft8Status();
  status.RxDf = 0;
  Tick(status);
  Tick(ClearMessage{});
  Calls();

  // Same mode, call and report, dial on the last Rx frequency: nothing.
  Tick(status);
  EXPECT_EQ(Calls(), Lines{});
  EXPECT_EQ(window.Shown(), DisplayFields{});

  status.Report = "-9";
  status.DialFrequency = 14076000;
  Tick(status);
  EXPECT_EQ(Calls(), (Lines{R"(SetLogField 5 "-9")", "TxFrequency 14077500", "RxFrequency 14076000"}));
  EXPECT_EQ(window.Shown(), (DisplayFields{"", "-9", "", "", "14077.50", ""}));
}

}  // namespace
