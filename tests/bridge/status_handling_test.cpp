#include <algorithm>
#include <limits>

#include "tick_fixture.h"

namespace {

using StatusHandling = TickTest;

TEST_F(StatusHandling, FirstStatusSendsModeCallReportAndFrequencies) {
  Tick(Ft8Status());
  EXPECT_EQ(Calls(), (Lines{
                         R"(ExecMacro "<MODEADD:FT8>")",
                         R"(SetLogField 0 "K1ABC")",
                         R"(SetLogField 5 "-5")",
                         "TxFrequency 14075500",
                         "RxFrequency 14075200",
                     }));
  EXPECT_EQ(window.Shown(), (DisplayFields{"K1ABC", "-5", "", "", "14075.50", "FT8"}));
}

TEST_F(StatusHandling, SameStatusAgainRewritesOnlyTheFrequenciesWhenTheRxOffsetIsNotZero) {
  Tick(Ft8Status());
  Calls();
  Tick();
  Tick(Ft8Status());  // a new datagram with the same contents
  EXPECT_EQ(Calls(), (Lines{"TxFrequency 14075500", "RxFrequency 14075200"}));
  EXPECT_EQ(window.Pushes.size(), 2u);  // pushed on every Status
  EXPECT_EQ(window.Shown().Freq, "14075.50");
}

TEST_F(StatusHandling, ModeMacroIsSentOncePerChangeAndNoneForAModeWithoutOne) {
  StatusMessage status = Ft8Status();
  Tick(status);
  Tick();
  status.Mode = "WSPR-2";
  Tick(status);
  EXPECT_EQ(window.Shown().Mode, "WSPR-2");
  status.Mode = "FT8";
  Tick(status);
  int macros = 0;
  for (const std::string& line : Calls()) macros += line.starts_with("ExecMacro");
  EXPECT_EQ(macros, 2);
}

TEST_F(StatusHandling, CwAndSsbWriteFrequenciesOnlyWhenTheDialMoves) {
  for (const char* mode : {"CW", "SSB"}) {
    SCOPED_TRACE(mode);
    Restart();
    StatusMessage status = Ft8Status();
    status.Mode = mode;
    Tick(status);
    Lines calls = Calls();
    ASSERT_GE(calls.size(), 2u);
    // The offsets do not count in these modes: both are the dial frequency.
    EXPECT_EQ(Lines(calls.end() - 2, calls.end()), (Lines{"TxFrequency 14074000", "RxFrequency 14074000"}));
    EXPECT_EQ(window.Shown().Freq, "14074.00");

    Tick();
    status.TxDf = 900;
    Tick(status);
    EXPECT_EQ(Calls(), Lines{});

    status.DialFrequency = 7030000;
    Tick(status);
    EXPECT_EQ(Calls(), (Lines{"TxFrequency 7030000", "RxFrequency 7030000"}));
    EXPECT_EQ(window.Shown().Freq, " 7030.00");
  }
}

TEST_F(StatusHandling, ZeroRxOffsetOnTheLastRxFrequencyWritesNothing) {
  StatusMessage status = Ft8Status();
  status.RxDf = 0;
  Tick(status);
  Calls();
  status.TxDf = 2000;  // only the Tx offset changed, and the dial equals the last Rx frequency
  Tick(status);
  EXPECT_EQ(Calls(), Lines{});
}

TEST_F(StatusHandling, DxCallChangingToEmptyClearsTheEntry) {
  Tick(Ft8Status());
  Calls();
  Tick(Ft8Status(""));
  EXPECT_EQ(Calls(), (Lines{R"(SetLogField 0 "")", "TxFrequency 14075500", "RxFrequency 14075200"}));
  EXPECT_EQ(window.Shown().Call, "");
}

TEST_F(StatusHandling, FrequenciesNoRadioHasAreNeitherShownNorSent) {
  StatusMessage status = Ft8Status();
  status.RxDf = std::numeric_limits<std::int32_t>::min();
  Tick(status);
  Lines calls = Calls();
  EXPECT_EQ(calls.back(), "TxFrequency 14075500");  // the Rx frequency would be below 0 Hz
  EXPECT_EQ(window.Shown().Freq, "14075.50");

  for (const std::uint64_t dial : {std::uint64_t{1} << 63, (std::uint64_t{1} << 53) + 1}) {
    status.DialFrequency = dial;
    status.RxDf = status.TxDf = 0;
    Tick(status);
    EXPECT_EQ(Calls(), Lines{});
    EXPECT_EQ(window.Shown().Freq, "14075.50");
  }
  status.DialFrequency = std::uint64_t{1} << 53;  // the highest exact one
  Tick(status);
  EXPECT_EQ(Calls(), (Lines{"TxFrequency 9007199254740992", "RxFrequency 9007199254740992"}));
}

TEST_F(StatusHandling, CutStatusReadsNothingOfTheLongerOneBefore) {
  // Everything after the report is cut off: the offsets read as 0, never
  // as bytes of the datagram before.
  Tick(Ft8Status("LONGCALL/P", "-20"));
  const Bytes whole = EncodeMessage(Ft8Status());
  const std::string report = "-5";
  Calls();
  Tick(Bytes(whole.begin(), std::search(whole.begin(), whole.end(), report.begin(), report.end()) + 2));
  Lines calls = Calls();
  EXPECT_EQ(Lines(calls.end() - 2, calls.end()), (Lines{"TxFrequency 14074000", "RxFrequency 14074000"}));
}

TEST_F(StatusHandling, DialOfZeroBeforeJtdxHasReadTheRadioSendsNoFrequency) {
  Tick(Ft8Status());
  Calls();
  StatusMessage unread = Ft8Status("W9XYZ");
  unread.DialFrequency = 0;
  unread.RxDf = 200;
  unread.TxDf = 1400;
  Tick(unread);
  EXPECT_EQ(Calls(), (Lines{R"(SetLogField 0 "W9XYZ")"}));
  EXPECT_EQ(window.Shown().Freq, "14075.50");
  // The frequencies kept are still those of the Status before.
  host.DetachHost();
  Tick();
  EXPECT_EQ(Calls(), (Lines{R"(ExecMacro "<MODEADD:FT8>")", R"(SetLogField 0 "W9XYZ")", R"(SetLogField 5 "-5")",
                            "TxFrequency 14075500", "RxFrequency 14075200"}));
}

}  // namespace
