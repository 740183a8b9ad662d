#include <algorithm>

#include "host_transcripts.h"
#include "load_datagram.h"
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
  EXPECT_EQ(state->LastDxCall, "K1ABC");
  EXPECT_EQ(state->DialReferenceHz, 14075500);
  EXPECT_FALSE(state->StatusNamedMode);  // the mode of a logged contact is no Status
}

TEST_F(QsoLoggedHandling, EmptyNameIsNotSentButEveryOtherEmptyFieldIs) {
  QsoLoggedMessage qso = Qso();
  qso.Name = "";
  qso.Comments = "";
  qso.RptRcvd = "";
  Tick(qso);
  const Lines calls = Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), R"(SetLogField 1 "")"), 0);
  EXPECT_EQ(Lines(calls.begin() + 2, calls.begin() + 5),
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
}

// "(N today)" on the status line counts from 00:00 UTC, wherever the
// machine is (the suite runs in more than one zone).
TEST_F(QsoLoggedHandling, SavedCountStartsAgainAtMidnightUtc) {
  using namespace std::chrono;
  clock.now = sys_days{year{2024} / 6 / 1} + hours{23} + minutes{59};
  Tick(Qso("K1ABC"));
  EXPECT_EQ(state->SavedCount, 1);
  clock.Advance(minutes{2});
  Tick(Qso("W9XYZ"));
  EXPECT_EQ(state->SavedCount, 1);
  EXPECT_EQ(state->LastSavedCall, "W9XYZ");
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

TEST_F(QsoLoggedHandling, CutDatagramIsNoContactUnlessOnlyTheFieldsAfterTheNameAreMissing) {
  const Bytes whole = EncodeMessage(Qso());
  const std::string name = "Bob";
  const auto name_end = std::search(whole.begin(), whole.end(), name.begin(), name.end()) + 3;
  for (auto end = whole.begin() + 12; end < name_end; ++end) {
    LoadDatagram(*state, Bytes(whole.begin(), end));
    DispatchDatagram(*state, host, window);
  }
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(window.Pushes.empty());

  // An older sender that stops after the name: the contact is whole.
  LoadDatagram(*state, Bytes(whole.begin(), name_end));
  DispatchDatagram(*state, host, window);
  EXPECT_EQ(Calls(), QsoLoggedCalls({"K1ABC", "FN42", "Bob", "-5", "-12", "tnx", "14075500"}));
}

TEST_F(QsoLoggedHandling, FollowingStatusInTheLoggedModeSendsNoMacro) {
  Tick(Qso());
  Calls();
  Tick(Ft8Status("K1ABC"));
  // The dial differs from the logged frequency, so the frequencies follow.
  EXPECT_EQ(Calls(), (Lines{"TxFrequency 14075500", "RxFrequency 14075200"}));
  EXPECT_EQ(window.Shown().Call, "");  // the call did not change
}

TEST_F(QsoLoggedHandling, LongTextsArriveWhole) {
  QsoLoggedMessage qso = Qso();
  qso.Comments = std::string(300, 'c') + " end";
  qso.Name = "Bartholomew " + std::string(200, 'n');
  const std::vector<std::uint8_t> bytes = EncodeMessage(qso);
  ASSERT_GT(bytes.size(), 255u);
  Tick(bytes);
  const Lines calls = Calls();
  EXPECT_EQ(calls[2], "SetLogField 1 \"" + qso.Name + "\"");
  EXPECT_EQ(calls[5], "SetLogField 4 \"" + qso.Comments + "\"");
  EXPECT_EQ(state->LastComments, qso.Comments);
}

TEST_F(QsoLoggedHandling, MicrowaveContactKeepsItsFrequency) {
  QsoLoggedMessage qso = Qso();
  qso.TxFrequency = 10368101500;
  Tick(qso);
  const Lines calls = Calls();
  EXPECT_EQ(calls[8], "TxFrequency 10368101500");
  EXPECT_EQ(window.Shown().Freq, "10368101.50");
}

using ClearHandling = TickTest;

TEST_F(ClearHandling, EmptiesTheFieldsAndTheEntryInItsOrder) {
  Tick(Ft8Status());
  state->LastName = "Bob";
  state->LastComments = "tnx";
  Calls();
  Tick(ClearMessage{});
  EXPECT_EQ(Calls(), kClearCalls);
  EXPECT_EQ(window.Shown(), DisplayFields{});
  EXPECT_EQ(state->LastName, "");
  EXPECT_EQ(state->LastComments, "");
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
