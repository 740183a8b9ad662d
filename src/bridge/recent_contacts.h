#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"

// The contacts saved or kept lately, so that one sent again is handled once:
// known by its bytes, or by its call, time off and frequency when it comes
// cut at a later field or with other bytes. JTDX itself never sends one
// datagram twice, so the same station logged again comes with another time
// off.
class RecentContacts {
 public:
  static constexpr std::size_t kKept = 64;

  // What Has and Remember are given of a contact.
  struct Contact {
    std::span<const std::uint8_t> Datagram;
    std::string_view Call;
    UtcTime TimeOff;
    std::int64_t FrequencyHz = 0;
  };

  // Whether a contact kept has these bytes, or this call, time off and
  // frequency.
  bool Has(const Contact& contact) const;
  // Remembers a contact, forgetting the oldest of more than kKept.
  void Remember(const Contact& contact);

 private:
  struct Kept {
    std::vector<std::uint8_t> Bytes;
    std::string Call;
    UtcTime TimeOff;
    std::int64_t FrequencyHz = 0;
  };

  std::deque<Kept> kept_;  // the oldest first
};
