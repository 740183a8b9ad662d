#include "jtdx_messages.h"

#include <gtest/gtest.h>

#include "datagram_writer.h"
#include "hex_text.h"

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
  const auto expected = DatagramWriter::Header(1)
                            .U64(10368100000)
                            .Utf8("JT9+JT65")
                            .Utf8(std::nullopt)  // no DX call: null
                            .Utf8("-5")
                            .Utf8("JT65")
                            .Bool(true).Bool(false).Bool(false)
                            .I32(-1)
                            .I32(1500)
                            .Utf8("N0CALL")
                            .Utf8("EN61")
                            .Utf8(std::nullopt)  // no DX grid: null
                            .Bool(false)
                            .Utf8(std::nullopt)  // sub-mode: always null
                            .Bool(false).Bool(false)
                            .Bytes();
  EXPECT_EQ(EncodeMessage(status), expected);

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
  const auto expected = DatagramWriter::Header(5)
                            .DateTime(2460463, 45'075'000, 0)
                            .Utf8("K1ABC").Utf8("FN42").U64(14075500).Utf8("FT8")
                            .Utf8("-10").Utf8("-10").Utf8("100")
                            .Utf8("").Utf8("")  // comments, name
                            .DateTime(2460463, 45'000'000, 0)
                            .Utf8("").Utf8("N0CALL").Utf8("EN61")
                            .Bytes();
  EXPECT_EQ(EncodeMessage(qso), expected);
}

TEST(JtdxMessages, JulianDaysMatchTheCalendar) {
  EXPECT_EQ(JulianDay(2000, 1, 1), 2451545);
  EXPECT_EQ(JulianDay(2024, 2, 29), 2460370);
}

}  // namespace
