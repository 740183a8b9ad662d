#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Bytes as plain lower-case hex, two digits each, nothing between them.
std::string FormatHex(const std::vector<std::uint8_t>& bytes);

// Hex digits in either case; spaces and tabs between the bytes are allowed.
// Nothing on an odd number of digits or another character.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ParseHex(std::string_view text);
