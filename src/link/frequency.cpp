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
  // Whole numbers only, so that every frequency ending in 5 Hz rounds up
  // instead of going whichever way its nearest double happens to lie.
  const std::int64_t hundredths = (hz + 5) / 10;
  const auto decimals = static_cast<int>(hundredths % 100);
  // 2^53 Hz in kHz with its decimals takes 16 characters.
  char digits[24];
  char* end = std::to_chars(digits, digits + sizeof digits, hundredths / 100).ptr;
  *end++ = '.';
  *end++ = static_cast<char>('0' + decimals / 10);
  *end++ = static_cast<char>('0' + decimals % 10);
  const auto length = static_cast<std::size_t>(end - digits);
  text.assign(length < kWidth ? kWidth - length : 0, ' ');
  text.append(digits, length);
}
