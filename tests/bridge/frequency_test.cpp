#include "bridge/frequency.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// Formatted one after the other into the same text, as the Freq field is.
TEST(FrequencyText, RoundsHalfUpToTenHertzInAtLeastEightCharacters) {
  const std::pair<std::int64_t, std::string> cases[] = {
      {10368101500, "10368101.50"},  // wider than eight: no padding
      {14075500, "14075.50"},
      {7075500, " 7075.50"},
      {14075504, "14075.50"},
      {14075505, "14075.51"},  // a double would have shown 14075.50
      {1005, "    1.01"},
      {5, "    0.01"},
      {1, "    0.00"},
      {999995, " 1000.00"},  // the rounding carries into the kilohertz
      {kMaxFrequency, "9007199254740.99"},
  };
  std::string text;
  for (const auto& [hz, expected] : cases) {
    FormatFrequencyText(hz, text);
    EXPECT_EQ(text, expected) << hz;
  }
}

}  // namespace
