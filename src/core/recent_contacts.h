#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The contacts saved or kept lately, so that one sent again is handled once:
// known by its bytes, or by its call, time off and frequency when it comes
// cut at a later field or with other bytes. JTDX itself never sends one
// datagram twice, so the same station logged again comes with another time
// off.
class RecentContacts {
 public:
  using Time = std::chrono::sys_time<std::chrono::milliseconds>;
  static constexpr std::size_t kKept = 64;

  // What Has and Remember are given of a contact; its two fingerprints are
  // made once, and compared before the bytes and the call themselves.
  struct Contact {
    Contact(std::span<const std::uint8_t> datagram, std::string_view call, Time time_off, std::int64_t frequency_hz);

    std::span<const std::uint8_t> Datagram;
    std::string_view Call;
    Time TimeOff;
    std::int64_t FrequencyHz;
    std::uint32_t BytesPrint;
    std::uint32_t KeyPrint;
  };

  // Whether a contact kept has these bytes, or this call, time off and
  // frequency.
  bool Has(const Contact& contact) const;
  // Remembers a contact, forgetting the oldest of more than kKept; the
  // forgotten one's storage serves the new one, so that once kKept have been
  // seen remembering allocates nothing.
  void Remember(const Contact& contact);

 private:
  struct Kept {
    std::vector<std::uint8_t> Bytes;
    std::string Call;
    Time TimeOff;
    std::int64_t FrequencyHz = 0;
  };
  bool Matches(std::size_t index, const Contact& contact) const;

  // The fingerprints side by side, so that one pass over them, with no
  // branch, tells whether any kept contact may match.
  std::array<std::uint32_t, kKept> bytes_prints_{};
  std::array<std::uint32_t, kKept> key_prints_{};
  std::array<Kept, kKept> kept_;  // a ring: the oldest is overwritten first
  std::size_t count_ = 0;
  std::size_t next_ = 0;
};
