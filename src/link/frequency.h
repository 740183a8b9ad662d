#pragma once
#include <cstdint>
#include <string>

// Writes a frequency in Hz as the Freq field shows it: kilohertz with two
// decimals, right-aligned in eight characters ("%8.2f"), so 14075500 shows as
// "14075.50" and 7075500 as " 7075.50". Reuses the text's storage.
void FormatFrequencyText(std::int64_t hz, std::string& text);
