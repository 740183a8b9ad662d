#include "link/frequency_text.h"

#include <cstdio>

void FormatFrequencyText(std::int64_t hz, std::string& text) {
  // The widest int64 in kHz with its decimals takes 21 characters.
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, "%8.2f", static_cast<double>(hz) / 1000.0);
  text.assign(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}
