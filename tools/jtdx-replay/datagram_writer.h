#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Builds a datagram in JTDX's big-endian wire format, field by field.
class DatagramWriter {
 public:
  static constexpr std::uint32_t kNullLength = 0xFFFFFFFF;

  // The header every message starts with: magic, schema, type, id.
  static DatagramWriter Header(std::uint32_t type, std::string_view id = "JTDX", std::uint32_t schema = 2);

  DatagramWriter& U32(std::uint32_t value);
  DatagramWriter& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
  DatagramWriter& U64(std::uint64_t value);
  DatagramWriter& Bool(bool value);
  DatagramWriter& Double(double value);
  // A string of UTF-8 bytes; std::nullopt is the null string.
  DatagramWriter& Utf8(std::optional<std::string_view> text);
  // Julian day, milliseconds since midnight and time spec: 13 bytes.
  DatagramWriter& DateTime(std::int64_t julian_day, std::uint32_t ms_of_day, std::uint8_t spec = 0);
  DatagramWriter& Raw(const std::vector<std::uint8_t>& bytes);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};
