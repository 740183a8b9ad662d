#include "link/frequency.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

// The Freq text as printf's "%8.2f" of the kilohertz writes it, the form the
// field has always had.
std::string PrintfText(std::int64_t hz) {
  char text[64];
  std::snprintf(text, sizeof text, "%8.2f", static_cast<double>(hz) / 1000.0);
  return text;
}

TEST(FrequencyText, IsPrintfsTextForEveryKindOfFrequency) {
  std::vector<std::int64_t> values = {1, 5, 15, 125, 135, 375, 625, 875, 999, 1005, 7075500, 14075500,
                                      10368101500, kMaxFrequency - 1, kMaxFrequency};
  std::mt19937_64 random(2237);
  for (int i = 0; i < 100000; ++i) values.push_back(static_cast<std::int64_t>(random() % kMaxFrequency) + 1);
  for (int i = 0; i < 20000; ++i) values.push_back(static_cast<std::int64_t>(random() % 100000000) * 10 + 5);
  std::string text;
  for (const std::int64_t hz : values) {
    FormatFrequencyText(hz, text);
    ASSERT_EQ(text, PrintfText(hz)) << hz;
  }
}

}  // namespace
