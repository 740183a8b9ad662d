#include "ui/status_line.h"

#include <chrono>

#include "ui/notice_texts.h"

namespace texts {

namespace {

std::string ClockOf(Clock::TimePoint when) {
  return UtcClock(std::chrono::time_point_cast<std::chrono::milliseconds>(when));
}

std::string Waiting(int count) {
  const std::string contacts = std::to_string(count) + (count == 1 ? " contact waits in " : " contacts wait in ");
  const std::string text = contacts + "Tolm_JTDX_unsaved.adi";
  return CharacterCount(text) <= kStatusLineMax ? text : contacts + "the unsaved file";
}

// "K1ABC saved at 18:31 UTC (3 today)", shortened where a long call would
// not fit: the count goes first, then the call's end. The count is of the
// UTC day of the last save; once that day is over it says nothing true.
std::string Saved(const BridgeFacts& told) {
  using std::chrono::floor;
  const std::string at = " saved at " + ClockOf(told.LastSavedAt);
  std::string text = told.LastSavedCall + at;
  if (floor<std::chrono::days>(told.Now) == floor<std::chrono::days>(told.LastSavedAt)) {
    text += " (" + std::to_string(told.SavedCount) + " today)";
  }
  if (CharacterCount(text) <= kStatusLineMax) return text;
  text = told.LastSavedCall + at;
  if (CharacterCount(text) <= kStatusLineMax) return text;
  return told.LastSavedCall.substr(0, kStatusLineMax - at.size()) + at;
}

std::string Dotted(std::uint32_t ip) {
  return std::to_string(ip >> 24) + "." + std::to_string(ip >> 16 & 0xFF) + "." + std::to_string(ip >> 8 & 0xFF) + "." +
         std::to_string(ip & 0xFF);
}

// "Listening on 239.255.0.1:2237", or with the datagrams of other machines
// refused "On 239.255.0.1:2237; 3 refused", the group left out where the
// count would not fit beside it.
std::string ListeningShared(const BridgeFacts& endpoint) {
  const std::string where = Dotted(endpoint.Group) + ":" + std::to_string(endpoint.Port);
  if (endpoint.Refused == 0) return "Listening on " + where;
  const std::string refused = "; " + std::to_string(endpoint.Refused) + " refused";
  const std::string text = "On " + where + refused;
  return CharacterCount(text) <= kStatusLineMax ? text : "On port " + std::to_string(endpoint.Port) + refused;
}

}  // namespace

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char byte : text) count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  return count;
}

std::string Title(int port) { return "Tolm<->JTDX UDP port = " + std::to_string(port); }

std::string StatusLine(const BridgeFacts& facts) {
  const std::string port = std::to_string(facts.Port);
  if (!facts.Bound) {
    if (facts.LockedByAnother) return "Relvan already listens on port " + port;
    return "Port " + port + (facts.PortReserved ? " is reserved by Windows" : " is held by another program");
  }
  if (!facts.UnsavedTakesContacts) return "Settings folder cannot be written";
  if (facts.SettingsUnreadable) return "Tolm_JTDX.ini unreadable; port " + port;
  if (facts.UdpGroupInvalid) return "UDP_Group is not a multicast address";
  if (facts.NotSentToGroup) return facts.NotToGroupSender + " does not send to the group";
  if (facts.UnsavedWaiting > 0) return Waiting(facts.UnsavedWaiting);
  if (facts.HostOutage) return "Tolm is not answering";
  if (!facts.HostAttached) return "Tolm is not running";
  if (facts.JtdxClosed) return facts.ClosedSender + " closed at " + ClockOf(facts.JtdxClosedAt);
  if (facts.SavedCount > 0) return Saved(facts);
  if (facts.Group != 0) return ListeningShared(facts);
  return "Listening on port " + port;
}

}  // namespace texts
