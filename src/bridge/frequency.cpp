#include "bridge/frequency.h"

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
  constexpr int kWidth = 8;
  // Whole numbers only, so that every frequency ending in 5 Hz rounds up
  // instead of going whichever way its nearest double happens to lie.
  auto rest = static_cast<std::uint64_t>(hz + 5) / 10;  // in hundredths of a kilohertz
  // Written from the right, padding included, so the text is one copy.
  // 2^53 Hz in kHz with its decimals takes 16 characters.
  char digits[24];
  char* const end = digits + sizeof digits;
  char* first = end;
  const auto next_digit = [&] {
    *--first = static_cast<char>('0' + rest % 10);
    rest /= 10;
  };
  next_digit();
  next_digit();
  *--first = '.';
  do {
    next_digit();
  } while (rest != 0);
  while (end - first < kWidth) *--first = ' ';
  text.assign(first, end);
}
