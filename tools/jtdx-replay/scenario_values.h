#pragma once
#include <cstdint>
#include <string_view>

// Values of a scenario's fields. Each takes the whole text and throws
// std::invalid_argument, saying what was expected, when it is not one.

std::uint64_t ParseUnsignedValue(std::string_view text, std::uint64_t max);
std::int64_t ParseSignedValue(std::string_view text, std::int64_t min, std::int64_t max);
bool ParseBoolValue(std::string_view text);  // 1/0, true/false, yes/no
double ParseDoubleValue(std::string_view text);
// HH:MM, HH:MM:SS or HH:MM:SS.mmm, as milliseconds since midnight.
std::uint32_t ParseTimeOfDayValue(std::string_view text);
// YYYY-MM-DD, as its Julian day.
std::int64_t ParseDateValue(std::string_view text);
