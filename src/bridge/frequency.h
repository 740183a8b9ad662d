#pragma once
#include <cstdint>
#include <optional>
#include <string>

// Frequencies in hertz, as JTDX reports them and the host takes them.

// The highest frequency the bridge passes on: 2^53 Hz, the last point where
// every whole number of hertz is exact as the double the host takes.
inline constexpr std::int64_t kMaxFrequency = std::int64_t{1} << 53;

// A frequency the bridge shows and sends: from 1 Hz to kMaxFrequency.
// Anything else is a datagram that is not what JTDX means to send.
[[nodiscard]] std::optional<std::int64_t> CheckedFrequency(std::uint64_t hz);

// The dial frequency plus an audio offset, when the sum is such a frequency.
std::optional<std::int64_t> OffsetFrequency(std::uint64_t dial, std::int32_t offset);

// The Freq field's text for a frequency from 1 Hz to kMaxFrequency:
// kilohertz with two decimals, rounded half up to 10 Hz, right-aligned in at
// least eight characters ("14075.50", " 7075.50"). Reuses text's storage, so
// it allocates nothing once text has held 16 characters.
void FormatFrequencyText(std::int64_t hz, std::string& text);
