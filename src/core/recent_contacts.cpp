#include "core/recent_contacts.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
  hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
  return hash ^ (hash >> 29);
}

// The size and the first 64 bytes, a word at a time: the header, the id, the
// time off and the call, where contacts differ.
std::uint32_t BytesPrintOf(std::span<const std::uint8_t> datagram) {
  std::uint64_t hash = datagram.size();
  const std::size_t words = std::min<std::size_t>(datagram.size(), 64) / 8;
  for (std::size_t i = 0; i < words; ++i) {
    std::uint64_t word;
    std::memcpy(&word, datagram.data() + i * 8, 8);
    hash = Mix(hash, word);
  }
  return static_cast<std::uint32_t>(hash >> 32);
}

std::uint32_t KeyPrintOf(RecentContacts::Time time_off, std::int64_t frequency_hz) {
  const auto hash = Mix(Mix(0, static_cast<std::uint64_t>(time_off.time_since_epoch().count())),
                        static_cast<std::uint64_t>(frequency_hz));
  return static_cast<std::uint32_t>(hash >> 32);
}

}  // namespace

RecentContacts::Contact::Contact(std::span<const std::uint8_t> datagram, std::string_view call, Time time_off,
                                 std::int64_t frequency_hz)
    : Datagram(datagram),
      Call(call),
      TimeOff(time_off),
      FrequencyHz(frequency_hz),
      BytesPrint(BytesPrintOf(datagram)),
      KeyPrint(KeyPrintOf(time_off, frequency_hz)) {}

bool RecentContacts::Matches(std::size_t index, const Contact& contact) const {
  const Kept& seen = kept_[index];
  if (bytes_prints_[index] == contact.BytesPrint && std::ranges::equal(seen.Bytes, contact.Datagram)) return true;
  return seen.TimeOff == contact.TimeOff && seen.FrequencyHz == contact.FrequencyHz && seen.Call == contact.Call;
}

bool RecentContacts::Has(const Contact& contact) const {
  // All kKept, used or not, in a loop the compiler turns into a few vector
  // compares; a slot not used yet that happens to match only costs the exact
  // look below.
  std::uint32_t maybe = 0;
  for (std::size_t i = 0; i < kKept; ++i) {
    maybe |= static_cast<std::uint32_t>(bytes_prints_[i] == contact.BytesPrint) |
             static_cast<std::uint32_t>(key_prints_[i] == contact.KeyPrint);
  }
  if (maybe == 0) return false;
  for (std::size_t i = 0; i < count_; ++i) {
    if (Matches(i, contact)) return true;
  }
  return false;
}

void RecentContacts::Remember(const Contact& contact) {
  Kept& seen = kept_[next_];
  bytes_prints_[next_] = contact.BytesPrint;
  key_prints_[next_] = contact.KeyPrint;
  next_ = (next_ + 1) % kKept;
  count_ = std::min(count_ + 1, kKept);
  seen.Bytes.assign(contact.Datagram.begin(), contact.Datagram.end());
  seen.Call = contact.Call;
  seen.TimeOff = contact.TimeOff;
  seen.FrequencyHz = contact.FrequencyHz;
}
