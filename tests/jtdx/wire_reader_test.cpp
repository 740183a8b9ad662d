#include "jtdx/wire_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datagram_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WireReader, NumbersAreBigEndianAndU64KeepsAllSixtyFourBits) {
  const Bytes bytes = DatagramWriter().U32(1500).U64(0x100D6C090ull).U64(10368100000ull).Bytes();
  jtdx::WireReader reader(bytes);
  EXPECT_EQ(reader.U32(), 1500u);
  EXPECT_EQ(reader.U64(), 0x100D6C090ull);  // the high half counts
  EXPECT_EQ(reader.U64(), 10368100000ull);  // 10 GHz, above 2^32
  EXPECT_EQ(reader.Pos(), 20u);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.Overran());
}

TEST(WireReader, EmptyNullAndTopBitLengthsAreEmptyAndSkipOnlyTheLength) {
  const Bytes bytes = DatagramWriter().Utf8("").Utf8(std::nullopt).U32(0x80000005).Utf8("K1ABC").Utf8("-5").Bytes();
  jtdx::WireReader reader(bytes);
  for (std::size_t end : {4u, 8u, 12u}) {
    EXPECT_EQ(reader.Utf8(), "");
    EXPECT_EQ(reader.Pos(), end);  // no text bytes skipped behind a top-bit length
  }
  EXPECT_EQ(reader.Utf8(), "K1ABC");
  EXPECT_EQ(reader.Utf8(), "-5");  // strings follow each other without remains
}

TEST(WireReader, TextsComeWholeAsTheyCameZeroBytesAndAll) {
  const std::string comment(1000, 'c');
  const Bytes bytes = DatagramWriter().Utf8(std::string_view("K1\0ABC", 6)).Utf8(comment).Utf8("Алексей").Bytes();
  jtdx::WireReader reader(bytes);
  EXPECT_EQ(reader.Utf8(), std::string_view("K1\0ABC", 6));
  EXPECT_EQ(reader.Utf8(), comment);
  const std::string_view name = reader.Utf8();
  EXPECT_EQ(name, "Алексей");
  // A view into the datagram, not a copy.
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(name.data()), bytes.data() + bytes.size() - name.size());
}

TEST(WireReader, BytesPastTheEndReadAsZeroAndHugeLengthsStayInside) {
  const Bytes cut = DatagramWriter().U32(10).Raw({'a', 'b', 'c'}).Bytes();
  jtdx::WireReader reader(cut);
  EXPECT_EQ(reader.Utf8(), "abc");  // cut at the datagram's end
  EXPECT_EQ(reader.Pos(), 14u);     // moved past the whole declared length
  EXPECT_TRUE(reader.Overran());
  EXPECT_EQ(reader.U32(), 0u);
  EXPECT_EQ(reader.U64(), 0u);
  EXPECT_EQ(reader.Utf8(), "");
  EXPECT_EQ(jtdx::WireReader(Bytes{0x12, 0x34}).U32(), 0x12340000u);  // zeros for the missing bytes

  Bytes huge(65535, 'y');
  huge[0] = 0x7F, huge[1] = huge[2] = huge[3] = 0xFF;  // length 2^31 - 1
  jtdx::WireReader far(huge);
  EXPECT_EQ(far.Utf8().size(), huge.size() - 4);
  EXPECT_EQ(far.Pos(), 4u + 0x7FFFFFFFu);
  for (int i = 0; i < 1000; ++i) far.Utf8();  // far past the end: still zeros
  EXPECT_EQ(far.U32(), 0u);
}

TEST(WireReader, DateTimesAreTakenAsUtcAndOnlyAnExplicitOffsetShiftsThem) {
  using namespace std::chrono;
  const UtcTime noon = UtcTime{sys_days{year{2024} / 6 / 1}} + hours{12} + milliseconds{250};
  auto date_time = [](std::uint8_t spec, std::int64_t day, std::uint32_t ms) {
    return DatagramWriter().DateTime(day, ms, spec).Bytes();
  };
  const std::uint32_t noon_ms = 12 * 3600 * 1000 + 250;
  // Local time (JTDX's label for its UTC digits) and UTC read alike.
  for (const std::uint8_t spec : {0, 1}) {
    const Bytes bytes = date_time(spec, 2460463, noon_ms);
    jtdx::WireReader reader(bytes);
    EXPECT_EQ(reader.DateTime(), noon);
    EXPECT_EQ(reader.Pos(), 13u);
  }
  const Bytes offset = DatagramWriter().DateTime(2460463, noon_ms, 2).I32(2 * 3600).Bytes();  // UTC+2
  EXPECT_EQ(jtdx::WireReader(offset).DateTime(), noon - hours{2});
  // Qt's null date and null time, and a field cut short, are no time.
  Bytes cut = date_time(1, 2460463, noon_ms);
  cut.pop_back();
  for (const Bytes& bytes : {date_time(0, 0, noon_ms), date_time(0, 2460463, 0xFFFFFFFF), cut}) {
    EXPECT_EQ(jtdx::WireReader(bytes).DateTime(), std::nullopt);
  }
}

}  // namespace
