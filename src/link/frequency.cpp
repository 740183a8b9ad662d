#include "link/frequency.h"

#include <charconv>

std::optional<std::int64_t> CheckedFrequency(std::uint64_t hz) {
  if (hz < 1 || hz > static_cast<std::uint64_t>(kMaxFrequency)) return std::nullopt;
  return static_cast<std::int64_t>(hz);
}

std::optional<std::int64_t> OffsetFrequency(std::uint64_t dial, std::int32_t offset) {
  if (dial > static_cast<std::uint64_t>(kMaxFrequency)) return std::nullopt;
  const std::int64_t sum = static_cast<std::int64_t>(dial) + offset;
  if (sum < 1) return std::nullopt;
  return CheckedFrequency(static_cast<std::uint64_t>(sum));
}

void FormatFrequencyText(std::int64_t hz, std::string& text) {
  constexpr std::size_t kWidth = 8;
  // 2^53 Hz in kHz with its decimals takes 16 characters.
  char digits[32];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, static_cast<double>(hz) / 1000.0, std::chars_format::fixed, 2);
  const auto length = static_cast<std::size_t>(result.ptr - digits);
  text.assign(length < kWidth ? kWidth - length : 0, ' ');
  text.append(digits, length);
}
