#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/clock.h"

namespace jtdx {

// Reads the big-endian fields of one datagram from its own cursor. Every
// byte at or past the datagram's end reads as 0, so a field that runs past
// the end yields zeros and never bytes of anything else; each read moves the
// cursor past the whole field, as its width or length says, and Overran()
// then tells that the datagram ended inside it.
class WireReader {
 public:
  explicit WireReader(std::span<const std::uint8_t> bytes, std::size_t pos = 0) : bytes_(bytes), pos_(pos) {}

  // The common case, a field wholly inside the datagram, is read inline; the
  // rest goes the long way, byte by byte.
  std::uint8_t U8();
  std::uint32_t U32() {
    if (!Holds(4)) return U32PastTheEnd();
    const std::uint8_t* p = bytes_.data() + pos_;
    pos_ += 4;
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
  }
  std::uint64_t U64() {
    const std::uint64_t high = U32();
    return (high << 32) | U32();
  }
  void Skip(std::size_t count);

  // A string field: a u32 length N, then N bytes of UTF-8. The null string
  // (0xFFFFFFFF) and every other length with its top bit set count as 0. The
  // bytes come as they are, zero bytes and invalid UTF-8 included, up to the
  // field's end or the datagram's, whichever is first. The view points into
  // the datagram.
  std::string_view Utf8() {
    std::uint32_t length = U32();
    if (length & 0x80000000u) length = 0;
    if (!Holds(length)) return Utf8PastTheEnd(length);
    const auto* text = reinterpret_cast<const char*>(bytes_.data() + pos_);
    pos_ += length;
    return {text, length};
  }

  // A date-time field: the Julian day (8 bytes), milliseconds since midnight
  // (4), the time spec (1), and behind a spec of 2 (offset from UTC) the
  // offset in seconds (4), behind a spec of 3 (a named zone) the zone's id as
  // a string. JTDX writes its log times in UTC while its spec says local
  // time, so the digits are taken as UTC and never shifted by this machine's
  // zone; only an explicit offset is taken off. nullopt when the field runs
  // past the datagram's end or holds no real date and time.
  std::optional<UtcTime> DateTime();

  std::size_t Pos() const { return pos_; }
  bool Overran() const { return pos_ > bytes_.size(); }
  bool AtEnd() const { return pos_ >= bytes_.size(); }

 private:
  std::uint8_t ByteAt(std::size_t pos) const { return pos < bytes_.size() ? bytes_[pos] : 0; }
  bool Holds(std::size_t count) const { return pos_ <= bytes_.size() && count <= bytes_.size() - pos_; }
  std::uint32_t U32PastTheEnd();
  std::string_view Utf8PastTheEnd(std::uint32_t length);

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_;
};

}  // namespace jtdx
