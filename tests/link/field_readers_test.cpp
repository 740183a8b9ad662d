#include "link/field_readers.h"
#include "link/jtdx_date_time.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "datagram_writer.h"
#include "load_datagram.h"

namespace {

class FieldReaders : public ::testing::Test {
 protected:
  void Load(const std::vector<std::uint8_t>& bytes) { LoadDatagram(*state, bytes); }
  std::unique_ptr<BridgeState> state = std::make_unique<BridgeState>();
};

TEST_F(FieldReaders, NumbersAreBigEndian) {
  Load({0x00, 0x00, 0x05, 0xDC, 0xAD, 0xBC, 0xCB, 0xDA});
  EXPECT_EQ(ReadU32(*state), 1500u);
  EXPECT_EQ(ReadU32(*state), 0xADBCCBDAu);
  EXPECT_EQ(state->ReadPos, 8u);
}

TEST_F(FieldReaders, U64KeepsAllSixtyFourBits) {
  Load(DatagramWriter().U64(14074000).U64(0x100D6C090ull).U64(10368100000ull).Bytes());
  EXPECT_EQ(ReadU64(*state), 14074000u);
  EXPECT_EQ(ReadU64(*state), 0x100D6C090ull);  // the high half counts
  EXPECT_EQ(ReadU64(*state), 10368100000ull);  // 10 GHz, above 2^32
  EXPECT_EQ(state->ReadPos, 24u);
}

TEST_F(FieldReaders, EmptyNullAndTopBitLengthsAreEmptyAndSkipOnlyTheLength) {
  Load(DatagramWriter().Utf8("").Utf8(std::nullopt).U32(0x80000005).U32(0x41424344).Bytes());
  EXPECT_EQ(ReadUtf8(*state), "");
  EXPECT_EQ(state->ReadPos, 4u);
  EXPECT_EQ(ReadUtf8(*state), "");
  EXPECT_EQ(state->ReadPos, 8u);
  EXPECT_EQ(ReadUtf8(*state), "");  // no text bytes skipped behind a top-bit length
  EXPECT_EQ(state->ReadPos, 12u);
  EXPECT_EQ(ReadU32(*state), 0x41424344u);
}

TEST_F(FieldReaders, StringsFollowEachOtherWithoutRemains) {
  Load(DatagramWriter().Utf8("K1ABC").Utf8("N0X").Utf8("-5").Bytes());
  EXPECT_EQ(ReadUtf8(*state), "K1ABC");
  EXPECT_EQ(state->ReadPos, 9u);
  EXPECT_EQ(ReadUtf8(*state), "N0X");
  EXPECT_EQ(ReadUtf8(*state), "-5");
}

TEST_F(FieldReaders, TextsLoseControlCharactersAndGetU_FFFDForInvalidUtf8) {
  Load(DatagramWriter()
           .Utf8(std::string_view("AB\0C\tD\x7F\xC2\x85", 9))
           .Utf8("\xFF\xFEK1\xC0\x80\xE2\x82\xED\xA0\x80\xF0\x9F\x98")
           .Utf8("Алексей")
           .Bytes());
  EXPECT_EQ(ReadUtf8(*state), std::string_view("AB\0C\tD\x7F\xC2\x85", 9));  // the field whole, as it came
  state->ReadPos = 0;
  std::string scratch;
  EXPECT_EQ(ReadText(*state, scratch), "ABCD");
  // Each maximal invalid part is one U+FFFD: lone bytes, an overlong, a cut
  // sequence, a surrogate, a sequence cut by the field's end.
  EXPECT_EQ(ReadText(*state, scratch), "\uFFFD\uFFFDK1\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
  // A clean text is the datagram's own bytes, not a copy.
  const std::string_view clean = ReadText(*state, scratch);
  EXPECT_EQ(clean, "Алексей");
  EXPECT_GE(reinterpret_cast<const std::uint8_t*>(clean.data()), state->RecvBuffer.data());
  EXPECT_LT(reinterpret_cast<const std::uint8_t*>(clean.data()), state->RecvBuffer.data() + state->RecvLength);
}

TEST_F(FieldReaders, UnicodeTextIsTakenOverByteForByte) {
  Load(DatagramWriter().Utf8("Алексей").Bytes());
  EXPECT_EQ(ReadUtf8(*state), "Алексей");
}

TEST_F(FieldReaders, BytesPastTheDatagramReadAsZeroNotAsOlderData) {
  // A long datagram first, then a short one over it.
  Load(DatagramWriter().Utf8(std::string(300, 'x')).U32(0xFFFFFFFF).Bytes());
  Load(DatagramWriter().U32(10).Raw({'a', 'b', 'c'}).Bytes());
  EXPECT_EQ(ReadUtf8(*state), "abc");  // cut at the datagram's end
  EXPECT_EQ(state->ReadPos, 14u);      // moved past the whole declared length
  EXPECT_EQ(ReadU32(*state), 0u);
  EXPECT_EQ(ReadU64(*state), 0u);
  EXPECT_EQ(ReadUtf8(*state), "");
}

TEST_F(FieldReaders, NumberStraddlingTheEndGetsZerosForMissingBytes) {
  Load({0x12, 0x34});
  EXPECT_EQ(ReadU32(*state), 0x12340000u);
}

TEST_F(FieldReaders, HugeLengthsNeverReachOutsideTheBuffer) {
  std::vector<std::uint8_t> bytes(kMaxDatagram - 1, 'y');
  bytes[0] = 0x7F, bytes[1] = bytes[2] = bytes[3] = 0xFF;  // length 2^31 - 1
  Load(bytes);
  const std::string_view text = ReadUtf8(*state);
  EXPECT_EQ(text.size(), kMaxDatagram - 5);
  EXPECT_EQ(state->ReadPos, 4u + 0x7FFFFFFFu);
  for (int i = 0; i < 1000; ++i) ReadUtf8(*state);  // far past the end: still zeros
  EXPECT_EQ(ReadU32(*state), 0u);
}

TEST_F(FieldReaders, LongStringsArriveWhole) {
  const std::string comment(1000, 'c');
  Load(DatagramWriter().Utf8(comment).Utf8("Bob").Bytes());
  EXPECT_EQ(ReadUtf8(*state), comment);
  EXPECT_EQ(ReadUtf8(*state), "Bob");
}

TEST_F(FieldReaders, DateTimesAreTakenAsUtcAndOnlyAnExplicitOffsetShiftsThem) {
  using namespace std::chrono;
  const UtcTime noon = UtcTime{sys_days{year{2024} / 6 / 1}} + hours{12} + milliseconds{250};
  auto date_time = [](std::uint8_t spec, std::int64_t day, std::uint32_t ms) {
    return DatagramWriter().DateTime(day, ms, spec).Bytes();
  };
  const std::uint32_t noon_ms = 12 * 3600 * 1000 + 250;
  // Local time (JTDX's label for its UTC digits) and UTC read alike.
  for (const std::uint8_t spec : {0, 1}) {
    Load(date_time(spec, 2460463, noon_ms));
    EXPECT_EQ(ReadDateTime(*state), noon);
    EXPECT_EQ(state->ReadPos, 13u);
  }
  Load(DatagramWriter().DateTime(2460463, noon_ms, 2).I32(2 * 3600).Bytes());  // UTC+2
  EXPECT_EQ(ReadDateTime(*state), noon - hours{2});
  // Qt's null date and null time, and a field cut short, are no time.
  std::vector<std::uint8_t> cut = date_time(1, 2460463, noon_ms);
  cut.pop_back();
  for (const auto& bytes : {date_time(0, 0, noon_ms), date_time(0, 2460463, 0xFFFFFFFF), cut}) {
    Load(bytes);
    EXPECT_EQ(ReadDateTime(*state), std::nullopt);
  }
}

}  // namespace
