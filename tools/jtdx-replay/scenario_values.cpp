#include "scenario_values.h"

#include <charconv>
#include <stdexcept>
#include <string>

#include "jtdx_messages.h"

namespace {

[[noreturn]] void Refuse(std::string_view what, std::string_view text) {
  throw std::invalid_argument("expected " + std::string(what) + ", got '" + std::string(text) + "'");
}

template <typename T>
bool ParseWhole(std::string_view text, T& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

// Digits only, of an exact count.
int FixedDigits(std::string_view text, std::size_t count, std::string_view what, std::string_view whole) {
  int value = 0;
  if (text.size() != count || !ParseWhole(text, value) || text.front() == '-' || text.front() == '+') {
    Refuse(what, whole);
  }
  return value;
}

}  // namespace

std::uint64_t ParseUnsignedValue(std::string_view text, std::uint64_t max) {
  std::uint64_t value = 0;
  if (!ParseWhole(text, value) || value > max) {
    Refuse("a whole number from 0 to " + std::to_string(max), text);
  }
  return value;
}

std::int64_t ParseSignedValue(std::string_view text, std::int64_t min, std::int64_t max) {
  std::int64_t value = 0;
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (!ParseWhole(text, value) || value < min || value > max) {
    Refuse("a whole number from " + std::to_string(min) + " to " + std::to_string(max), text);
  }
  return value;
}

bool ParseBoolValue(std::string_view text) {
  if (text == "1" || text == "true" || text == "yes") return true;
  if (text == "0" || text == "false" || text == "no") return false;
  Refuse("1, 0, true, false, yes or no", text);
}

double ParseDoubleValue(std::string_view text) {
  double value = 0;
  if (!ParseWhole(text, value)) Refuse("a number", text);
  return value;
}

std::uint32_t ParseTimeOfDayValue(std::string_view text) {
  constexpr std::string_view kWhat = "a time HH:MM, HH:MM:SS or HH:MM:SS.mmm";
  if (text.size() != 5 && text.size() != 8 && text.size() != 12) Refuse(kWhat, text);
  if (text[2] != ':' || (text.size() > 5 && text[5] != ':') || (text.size() > 8 && text[8] != '.')) {
    Refuse(kWhat, text);
  }
  const int hours = FixedDigits(text.substr(0, 2), 2, kWhat, text);
  const int minutes = FixedDigits(text.substr(3, 2), 2, kWhat, text);
  const int seconds = text.size() > 5 ? FixedDigits(text.substr(6, 2), 2, kWhat, text) : 0;
  const int millis = text.size() > 8 ? FixedDigits(text.substr(9, 3), 3, kWhat, text) : 0;
  if (hours > 23 || minutes > 59 || seconds > 59) Refuse(kWhat, text);
  return static_cast<std::uint32_t>(((hours * 60 + minutes) * 60 + seconds) * 1000 + millis);
}

std::int64_t ParseDateValue(std::string_view text) {
  constexpr std::string_view kWhat = "a date YYYY-MM-DD";
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') Refuse(kWhat, text);
  const int year = FixedDigits(text.substr(0, 4), 4, kWhat, text);
  const int month = FixedDigits(text.substr(5, 2), 2, kWhat, text);
  const int day = FixedDigits(text.substr(8, 2), 2, kWhat, text);
  static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1]) Refuse(kWhat, text);
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month == 2 && day == 29 && !leap) Refuse(kWhat, text);
  return JulianDay(year, month, day);
}
