#include "jtdx/wire_reader.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace jtdx {

namespace {

constexpr std::int64_t kJulianDayOf1970 = 2440588;
// 0001-01-01 to 9999-12-31: what a calendar date can be.
constexpr std::int64_t kFirstJulianDay = 1721426;
constexpr std::int64_t kLastJulianDay = 5373484;
constexpr std::uint32_t kMsPerDay = 24 * 3600 * 1000;

enum TimeSpec : std::uint8_t { kLocalTime = 0, kUtc = 1, kOffsetFromUtc = 2, kTimeZone = 3 };

}  // namespace

void WireReader::Skip(std::size_t count) {
  const std::size_t room = std::numeric_limits<std::size_t>::max() - pos_;
  pos_ += std::min(count, room);
}

std::uint8_t WireReader::U8() {
  const std::uint8_t value = ByteAt(pos_);
  Skip(1);
  return value;
}

std::uint32_t WireReader::U32PastTheEnd() {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | ByteAt(pos_ + i);
  Skip(4);
  return value;
}

std::string_view WireReader::Utf8PastTheEnd(std::uint32_t length) {
  const std::size_t start = pos_;
  Skip(length);
  if (start >= bytes_.size()) return {};
  return {reinterpret_cast<const char*>(bytes_.data() + start), std::min<std::size_t>(length, bytes_.size() - start)};
}

std::optional<UtcTime> WireReader::DateTime() {
  const auto julian_day = static_cast<std::int64_t>(U64());
  const std::uint32_t ms = U32();
  const std::uint8_t spec = U8();
  std::int32_t offset_s = 0;
  if (spec == kOffsetFromUtc) offset_s = static_cast<std::int32_t>(U32());
  if (spec == kTimeZone) Utf8();

  if (Overran()) return std::nullopt;
  if (julian_day < kFirstJulianDay || julian_day > kLastJulianDay || ms >= kMsPerDay) return std::nullopt;
  const std::chrono::sys_days day{std::chrono::days{julian_day - kJulianDayOf1970}};
  return UtcTime{day} + std::chrono::milliseconds{ms} - std::chrono::seconds{offset_s};
}

}  // namespace jtdx
