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
  return text.size() <= kStatusLineMax ? text : contacts + "the unsaved file";
}

// "K1ABC saved at 18:31 UTC (3 today)", shortened where a long call would
// not fit: the count goes first, then the call's end. The count is of the
// UTC day of the last save; once that day is over it says nothing true.
std::string Saved(const BridgeState& state) {
  using std::chrono::floor;
  const std::string at = " saved at " + ClockOf(state.LastSavedAt);
  std::string text = state.LastSavedCall + at;
  if (floor<std::chrono::days>(state.TickTime) == floor<std::chrono::days>(state.LastSavedAt)) {
    text += " (" + std::to_string(state.SavedCount) + " today)";
  }
  if (text.size() <= kStatusLineMax) return text;
  text = state.LastSavedCall + at;
  if (text.size() <= kStatusLineMax) return text;
  return state.LastSavedCall.substr(0, kStatusLineMax - at.size()) + at;
}

}  // namespace

std::string StatusLine(const BridgeState& state, bool host_attached) {
  const std::string port = std::to_string(state.UdpPort);
  if (!state.EndpointBound) {
    return "Port " + port + (state.PortReserved ? " is reserved by Windows" : " is held by another program");
  }
  if (!state.SettingsWritable) return "Settings folder cannot be written";
  if (state.SettingsUnreadable) return "Tolm_JTDX.ini unreadable; port " + port;
  if (state.UnsavedWaiting > 0) return Waiting(state.UnsavedWaiting);
  if (state.HostOutage) return "Tolm is not answering";
  if (!host_attached) return "Tolm is not running";
  if (state.JtdxClosed) return "JTDX closed at " + ClockOf(state.JtdxClosedAt);
  if (state.SavedCount > 0) return Saved(state);
  return "Listening on port " + port;
}

}  // namespace texts
