#include "bridge/recent_contacts.h"

#include <algorithm>

bool RecentContacts::Has(const Contact& contact) const {
  return std::ranges::any_of(kept_, [&](const Kept& seen) {
    return std::ranges::equal(seen.Bytes, contact.Datagram) ||
           (seen.Call == contact.Call && seen.TimeOff == contact.TimeOff && seen.FrequencyHz == contact.FrequencyHz);
  });
}

void RecentContacts::Remember(const Contact& contact) {
  kept_.push_back({{contact.Datagram.begin(), contact.Datagram.end()},
                   std::string(contact.Call),
                   contact.TimeOff,
                   contact.FrequencyHz});
  if (kept_.size() > kKept) kept_.pop_front();
}
