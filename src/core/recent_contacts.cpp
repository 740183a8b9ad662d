#include "core/recent_contacts.h"

#include <algorithm>

bool RecentContacts::HasBytes(std::span<const std::uint8_t> datagram) const {
  return std::any_of(contacts_.begin(), contacts_.begin() + count_,
                     [&](const Contact& seen) { return std::ranges::equal(seen.Bytes, datagram); });
}

bool RecentContacts::Has(std::string_view call, Time time_off, std::int64_t frequency_hz) const {
  return std::any_of(contacts_.begin(), contacts_.begin() + count_, [&](const Contact& seen) {
    return seen.Call == call && seen.TimeOff == time_off && seen.FrequencyHz == frequency_hz;
  });
}

void RecentContacts::Remember(std::span<const std::uint8_t> datagram, std::string_view call, Time time_off,
                              std::int64_t frequency_hz) {
  Contact& seen = contacts_[next_];
  next_ = (next_ + 1) % kKept;
  count_ = std::min(count_ + 1, kKept);
  seen.Bytes.assign(datagram.begin(), datagram.end());
  seen.Call = call;
  seen.TimeOff = time_off;
  seen.FrequencyHz = frequency_hz;
}
