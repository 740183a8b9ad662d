#include "jtdx_messages.h"

#include <gtest/gtest.h>

#include "hex_text.h"

// The expected bytes are laid out by hand, a field to a string, so that each
// reads against JTDX's field list; the formatter would break them apart.
// clang-format off
namespace {

TEST(JtdxMessages, HeartbeatIsSchemaTwoWithMaxSchemaThreeAndVersion) {
  EXPECT_EQ(FormatHex(EncodeMessage(HeartbeatMessage{})),
            "adbccbda"  "00000002"  "00000000"  "000000044a544458"  // magic, schema, type, "JTDX"
            "00000003"  "00000007322e322e313539");                   // max schema, "2.2.159"
}

TEST(JtdxMessages, StatusHasEveryFieldInJtdxOrder) {
  StatusMessage status;
  status.DialFrequency = 10368100000;
  status.Mode = "JT9+JT65";
  status.TxMode = "JT65";
  status.Report = "-5";
  status.TxEnabled = true;
  status.RxDf = -1;
  status.TxDf = 1500;
  EXPECT_EQ(FormatHex(EncodeMessage(status)),
            "adbccbda" "00000002" "00000001" "000000044a544458"  // magic, schema, type, "JTDX"
            "0000000269fca6a0"                                    // dial
            "000000084a54392b4a543635"                            // mode "JT9+JT65"
            "ffffffff"                                            // no DX call: null
            "000000022d35"                                        // report "-5"
            "000000044a543635"                                    // Tx mode "JT65"
            "01" "00" "00"                                        // Tx enabled, transmitting, decoding
            "ffffffff" "000005dc"                                 // Rx DF -1, Tx DF 1500
            "000000064e3043414c4c" "00000004454e3631"             // DE call, DE grid
            "ffffffff"                                            // no DX grid: null
            "00" "ffffffff" "00" "00");                           // watchdog, sub-mode null, fast, Tx first

  StatusMessage plain;
  plain.DxCall = "K1ABC";
  const auto bytes = EncodeMessage(plain);
  // The Tx mode defaults to the mode.
  EXPECT_NE(FormatHex(bytes).find("00000003465438" "000000054b31414243" "000000032d3130" "00000003465438"),
            std::string::npos);
}

TEST(JtdxMessages, QsoLoggedCarriesBothTimesAndEmptyTextsWithLengthZero) {
  QsoLoggedMessage qso;
  qso.TimeOff = {JulianDay(2024, 6, 1), 45'075'000, 0};
  qso.TimeOn = {JulianDay(2024, 6, 1), 45'000'000, 0};
  EXPECT_EQ(FormatHex(EncodeMessage(qso)),
            "adbccbda" "00000002" "00000005" "000000044a544458"  // magic, schema, type, "JTDX"
            "0000000000258b2f" "02afca38" "00"                     // time off: day, ms, spec
            "000000054b31414243" "00000004464e3432"               // "K1ABC", "FN42"
            "0000000000d6c66c" "00000003465438"                   // 14075500 Hz, "FT8"
            "000000032d3130" "000000032d3130" "00000003313030"   // sent, received, power
            "00000000" "00000000"                                 // comments, name: length 0
            "0000000000258b2f" "02aea540" "00"                     // time on
            "00000000" "000000064e3043414c4c" "00000004454e3631");  // operator, my call, my grid
}

TEST(JtdxMessages, JulianDaysMatchTheCalendar) {
  EXPECT_EQ(JulianDay(2000, 1, 1), 2451545);
  EXPECT_EQ(JulianDay(2024, 2, 29), 2460370);
}

}  // namespace
// clang-format on
