#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <array>
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

  bool HasBytes(std::span<const std::uint8_t> datagram) const;
  bool Has(std::string_view call, Time time_off, std::int64_t frequency_hz) const;
  // Remembers a contact, forgetting the oldest of more than kKept; the
  // forgotten one's storage serves the new one, so that once kKept have been
  // seen remembering allocates nothing.
  void Remember(std::span<const std::uint8_t> datagram, std::string_view call, Time time_off,
                std::int64_t frequency_hz);

 private:
  struct Contact {
    std::vector<std::uint8_t> Bytes;
    std::string Call;
    Time TimeOff;
    std::int64_t FrequencyHz = 0;
  };
  std::array<Contact, kKept> contacts_;  // a ring: the oldest is overwritten first
  std::size_t count_ = 0;
  std::size_t next_ = 0;
};
