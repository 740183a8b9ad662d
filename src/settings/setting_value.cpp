#include "settings/setting_value.h"

#include <climits>
#include <cstdint>

namespace {

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int ParseLeadingInteger(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsCSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // The magnitude stops growing one past INT_MAX, which is enough to tell
  // INT_MIN (exactly representable) from everything beyond it.
  constexpr std::int64_t kLimit = std::int64_t{INT_MAX} + 1;
  std::int64_t magnitude = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    magnitude = magnitude * 10 + (text[pos] - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  if (negative) return static_cast<int>(-magnitude);  // -kLimit is INT_MIN
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

int ParseSettingValue(std::string_view text) { return ParseLeadingInteger(text.substr(0, kSettingReadCapacity - 1)); }

std::string SettingText(std::string_view text) {
  text = text.substr(0, kSettingReadCapacity - 1);
  while (!text.empty() && IsCSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsCSpace(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string FormatSettingValue(int value) { return std::to_string(value); }
