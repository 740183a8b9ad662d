#include "link/jtdx_date_time.h"

#include <chrono>
#include <cstdint>

#include "link/field_readers.h"

namespace {

constexpr std::int64_t kJulianDayOf1970 = 2440588;
// 0001-01-01 to 9999-12-31: what a calendar date can be.
constexpr std::int64_t kFirstJulianDay = 1721426;
constexpr std::int64_t kLastJulianDay = 5373484;
constexpr std::uint32_t kMsPerDay = 24 * 3600 * 1000;

enum TimeSpec : std::uint8_t { kLocalTime = 0, kUtc = 1, kOffsetFromUtc = 2, kTimeZone = 3 };

}  // namespace

std::optional<UtcTime> ReadDateTime(BridgeState& state) {
  const auto julian_day = static_cast<std::int64_t>(ReadU64(state));
  const std::uint32_t ms = ReadU32(state);
  const std::uint8_t spec = DatagramByte(state, state.ReadPos);
  SkipBytes(state, 1);
  std::int32_t offset_s = 0;
  if (spec == kOffsetFromUtc) offset_s = static_cast<std::int32_t>(ReadU32(state));
  if (spec == kTimeZone) ReadUtf8(state);

  if (state.ReadPos > state.RecvLength) return std::nullopt;
  if (julian_day < kFirstJulianDay || julian_day > kLastJulianDay || ms >= kMsPerDay) return std::nullopt;
  const std::chrono::sys_days day{std::chrono::days{julian_day - kJulianDayOf1970}};
  return UtcTime{day} + std::chrono::milliseconds{ms} - std::chrono::seconds{offset_s};
}
