#pragma once
#include <cstdint>
#include <string_view>

// The ADIF 3.1 band ("20m", "70cm", ...) that holds a frequency, edges
// included; empty when the frequency is in no amateur band (0 among them).
std::string_view AdifBand(std::int64_t hz);
