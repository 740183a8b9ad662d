#include "ui/status_line.h"

#include <chrono>

#include "core/udp_address.h"
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
std::string Saved(const OperatorFacts& told, Clock::TimePoint now) {
  using std::chrono::floor;
  const std::string at = " saved at " + ClockOf(told.LastSavedAt);
  std::string text = told.LastSavedCall + at;
  if (floor<std::chrono::days>(now) == floor<std::chrono::days>(told.LastSavedAt)) {
    text += " (" + std::to_string(told.SavedCount) + " today)";
  }
  if (CharacterCount(text) <= kStatusLineMax) return text;
  text = told.LastSavedCall + at;
  if (CharacterCount(text) <= kStatusLineMax) return text;
  return told.LastSavedCall.substr(0, kStatusLineMax - at.size()) + at;
}

// "Listening on 239.255.0.1:2237", or with the datagrams of other machines
// refused "On 239.255.0.1:2237; 3 refused", the group left out where the
// count would not fit beside it.
std::string ListeningShared(const Endpoint& endpoint) {
  const std::string where = FormatIpv4(endpoint.Group()) + ":" + std::to_string(endpoint.Port());
  if (endpoint.Refused() == 0) return "Listening on " + where;
  const std::string refused = "; " + std::to_string(endpoint.Refused()) + " refused";
  const std::string text = "On " + where + refused;
  return CharacterCount(text) <= kStatusLineMax ? text : "On port " + std::to_string(endpoint.Port()) + refused;
}

}  // namespace

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char byte : text) count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  return count;
}

std::string Title(int port) { return "Tolm<->JTDX UDP port = " + std::to_string(port); }

std::string StatusLine(const BridgeState& state, bool host_attached) {
  const Endpoint& endpoint = state.Endpoint;
  const OperatorFacts& told = state.Told;
  const std::string port = std::to_string(endpoint.Port());
  if (!endpoint.Bound()) {
    if (endpoint.LockedByAnother()) return "Relvan already listens on port " + port;
    return "Port " + port + (endpoint.PortReserved() ? " is reserved by Windows" : " is held by another program");
  }
  if (!told.SettingsWritable) return "Settings folder cannot be written";
  if (told.SettingsUnreadable) return "Tolm_JTDX.ini unreadable; port " + port;
  if (told.UdpGroupInvalid) return "UDP_Group is not a multicast address";
  if (endpoint.NotSentToGroup()) return endpoint.NotToGroupSender() + " does not send to the group";
  if (told.UnsavedWaiting > 0) return Waiting(told.UnsavedWaiting);
  if (state.Health.Outage) return "Tolm is not answering";
  if (!host_attached) return "Tolm is not running";
  if (told.JtdxClosed) return told.ClosedSender + " closed at " + ClockOf(told.JtdxClosedAt);
  if (told.SavedCount > 0) return Saved(told, state.TickTime);
  if (endpoint.Group() != 0) return ListeningShared(endpoint);
  return "Listening on port " + port;
}

}  // namespace texts
