#include "datagram_writer.h"

#include <bit>

#include "jtdx/jtdx_format.h"

DatagramWriter DatagramWriter::Header(std::uint32_t type, std::string_view id, std::uint32_t schema) {
  DatagramWriter writer;
  writer.bytes_.assign(kDatagramMagic.begin(), kDatagramMagic.end());
  writer.U32(schema).U32(type).Utf8(id);
  return writer;
}

DatagramWriter& DatagramWriter::U32(std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
  return *this;
}

DatagramWriter& DatagramWriter::U64(std::uint64_t value) {
  U32(static_cast<std::uint32_t>(value >> 32));
  return U32(static_cast<std::uint32_t>(value));
}

DatagramWriter& DatagramWriter::Bool(bool value) {
  bytes_.push_back(value ? 1 : 0);
  return *this;
}

DatagramWriter& DatagramWriter::Double(double value) { return U64(std::bit_cast<std::uint64_t>(value)); }

DatagramWriter& DatagramWriter::Utf8(std::optional<std::string_view> text) {
  if (!text) return U32(kNullLength);
  U32(static_cast<std::uint32_t>(text->size()));
  bytes_.insert(bytes_.end(), text->begin(), text->end());
  return *this;
}

DatagramWriter& DatagramWriter::DateTime(std::int64_t julian_day, std::uint32_t ms_of_day, std::uint8_t spec) {
  U64(static_cast<std::uint64_t>(julian_day));
  U32(ms_of_day);
  bytes_.push_back(spec);
  return *this;
}

DatagramWriter& DatagramWriter::Raw(const std::vector<std::uint8_t>& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}
