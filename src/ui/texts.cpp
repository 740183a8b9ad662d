#include "ui/texts.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "adif/adif_band.h"

#include "bridge/frequency.h"
#include "core/file_path.h"
#include "settings/setting_keys.h"

namespace texts {

namespace {

// "18:40 UTC".
std::string UtcClock(UtcTime when) {
  using namespace std::chrono;
  const hh_mm_ss time{floor<minutes>(when - floor<days>(when))};
  const auto two = [](long value) { return std::string(value < 10 ? "0" : "") + std::to_string(value); };
  return two(time.hours().count()) + ":" + two(time.minutes().count()) + " UTC";
}

std::string ClockOf(Clock::TimePoint when) {
  return UtcClock(std::chrono::time_point_cast<std::chrono::milliseconds>(when));
}

// "14075.50 kHz", as the Freq field shows it; empty without a frequency.
std::string Kilohertz(std::int64_t hz) {
  if (hz <= 0) return {};
  std::string text;
  FormatFrequencyText(hz, text);
  text.erase(0, text.find_first_not_of(' '));
  return text + " kHz";
}

// "2024-06-01".
std::string UtcDate(UtcTime when) {
  const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(when)};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()));
  return text;
}

// JTDX's free texts have no limit; a box shows the first 40 characters.
std::string Head(const std::string& text) {
  constexpr std::size_t kShown = 40;
  if (text.size() <= kShown) return text;
  std::size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
  return text.substr(0, cut) + "...";
}

// Everything an operator needs to enter the contact in Tolm by hand, a line
// for the time and station, one for the signal, one for the rest:
// "2024-06-01, 18:31 to 18:40 UTC, K1ABC"
// "14075.50 kHz (20m), FT8, sent -5, received -12"
// "grid FN42, name Bob, comment tnx".
std::string ContactByHand(const LoggedContact& contact) {
  std::string text = UtcDate(contact.TimeOn) + ", " + UtcClock(contact.TimeOn).substr(0, 5) + " to " +
                     UtcClock(contact.TimeOff) + ", " + contact.Call + "\n";
  std::string signal;
  const auto add = [](std::string& line, const std::string& part) {
    if (part.empty()) return;
    if (!line.empty()) line += ", ";
    line += part;
  };
  if (const std::string khz = Kilohertz(contact.FrequencyHz); !khz.empty()) {
    const std::string_view band = AdifBand(contact.FrequencyHz);
    add(signal, band.empty() ? khz : khz + " (" + std::string(band) + ")");
  }
  add(signal, contact.Mode);
  add(signal, contact.RptSent.empty() ? "" : "sent " + contact.RptSent);
  add(signal, contact.RptRcvd.empty() ? "" : "received " + contact.RptRcvd);
  std::string rest;
  add(rest, contact.Grid.empty() ? "" : "grid " + contact.Grid);
  add(rest, contact.Name.empty() ? "" : "name " + Head(contact.Name));
  add(rest, contact.Comments.empty() ? "" : "comment " + Head(contact.Comments));
  if (!signal.empty()) text += signal + "\n";
  if (!rest.empty()) text += rest + "\n";
  text.pop_back();
  return text;
}

// At most kNamedCalls calls, then how many more: "K1ABC, W9XYZ and 3 more".
std::string JoinCalls(const std::vector<OperatorNotice>& contacts) {
  constexpr std::size_t kNamedCalls = 10;
  std::string text;
  for (std::size_t i = 0; i < contacts.size() && i < kNamedCalls; ++i) {
    if (!text.empty()) text += ", ";
    text += contacts[i].Contact.Call;
  }
  if (contacts.size() > kNamedCalls) text += " and " + std::to_string(contacts.size() - kNamedCalls) + " more";
  return text;
}

std::string CountOfContacts(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " more contact" : " more contacts");
}

}  // namespace

std::string Title(int port) { return "Tolm<->JTDX UDP port = " + std::to_string(port); }

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char byte : text) count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  return count;
}

std::string AnotherRelvanStatus(int port) { return "Relvan already listens on port " + std::to_string(port); }

std::string PortHeldStatus(int port, bool reserved) {
  return "Port " + std::to_string(port) + (reserved ? " is reserved by Windows" : " is held by another program");
}

std::string SettingsUnreadableStatus(int port) {
  return std::string(kSettingsFileName) + " unreadable; port " + std::to_string(port);
}

std::string UdpGroupInvalidStatus() { return std::string(kUdpGroupKey) + " is not a multicast address"; }

std::string NotSentToGroupStatus(const std::string& sender) { return sender + " does not send to the group"; }

std::string WaitingStatus(int count) {
  const std::string contacts = std::to_string(count) + (count == 1 ? " contact waits in " : " contacts wait in ");
  const std::string text = contacts + kUnsavedContactsFileName;
  return CharacterCount(text) <= kStatusLineMax ? text : contacts + "the unsaved file";
}

std::string ClosedStatus(const std::string& sender, Clock::TimePoint when) {
  return sender + " closed at " + ClockOf(when);
}

std::string SavedStatus(const std::string& call, Clock::TimePoint when, int count_today) {
  const std::string at = " saved at " + ClockOf(when);
  std::string text = call + at;
  if (count_today > 0) text += " (" + std::to_string(count_today) + " today)";
  if (CharacterCount(text) <= kStatusLineMax) return text;
  text = call + at;
  if (CharacterCount(text) <= kStatusLineMax) return text;
  return call.substr(0, kStatusLineMax - at.size()) + at;
}

std::string ListeningStatus(int port) { return "Listening on port " + std::to_string(port); }

std::string SharedListeningStatus(const std::string& group, int port, std::uint64_t refused) {
  const std::string where = group + ":" + std::to_string(port);
  if (refused == 0) return "Listening on " + where;
  const std::string counted = "; " + std::to_string(refused) + " refused";
  const std::string text = "On " + where + counted;
  return CharacterCount(text) <= kStatusLineMax ? text : "On port " + std::to_string(port) + counted;
}

namespace {

// What Setup's refused move leaves the bridge doing, after why it was refused.
std::string AfterRefusedMove(std::string why, int current_port, bool listening) {
  if (listening) return why + "Relvan goes on listening on port " + std::to_string(current_port) + ".";
  return why + "Relvan cannot hear JTDX until that port is free or another is chosen.";
}

}  // namespace

std::string PortHeldMessage(int wanted_port, int current_port, bool listening, bool reserved, bool shared) {
  const char* why = reserved ? " is reserved by Windows; "
                    : shared ? " is held by a program that does not share it; "
                             : " is held by another program; ";
  return AfterRefusedMove("Port " + std::to_string(wanted_port) + why, current_port, listening);
}

std::string AnotherRelvanMessage(int wanted_port, int current_port, bool listening) {
  return AfterRefusedMove("Another Relvan already listens on port " + std::to_string(wanted_port) + "; ", current_port,
                          listening);
}

std::string NoticeMessage(const OperatorNotice& notice, const std::string& unsaved_path) {
  if (!notice.DamagedFileSetAside.empty()) {
    OperatorNotice told_before = notice;
    told_before.DamagedFileSetAside.clear();
    return NoticeMessage(told_before, unsaved_path) + " The file there before was damaged; it is kept as " +
           Utf8FromPath(notice.DamagedFileSetAside) +
           ", where its records can be mended and imported by hand, and the contact starts a new file.";
  }
  using Miss = OperatorNotice::Miss;
  if (notice.What == OperatorNotice::Kind::HostStopped) {
    return "Tolm stopped answering; Relvan will attach again when it runs (" + notice.HostDetail + ").";
  }
  const std::string contact = "contact with " + notice.Contact.Call + " at " + UtcClock(notice.Contact.TimeOff);
  if (notice.Why == Miss::SaveMayHaveRun) {
    const std::string text = "Tolm may have saved the " + contact + " before it failed (" + notice.HostDetail + ").";
    if (notice.Kept) {
      return text + " It was also added to " + unsaved_path + ": look in Tolm's log before you import that file.";
    }
    return text + " It could not be added to " + unsaved_path + " (" + notice.FileProblem +
           "): look in Tolm's log, and if it is not there, enter it by hand:\n" + ContactByHand(notice.Contact);
  }
  std::string text = "The " + contact + " was not saved in Tolm";
  std::string after_import;
  switch (notice.Why) {
    case Miss::HostNotRunning: text += ", which is not running"; break;
    case Miss::HostNotAnswering: text += ", which is not answering (" + notice.HostDetail + ")"; break;
    case Miss::CallFailed:
    case Miss::SaveMayHaveRun: text += " (" + notice.HostDetail + ")"; break;
    case Miss::NotACallSign:
      text = "The call \"" + notice.Contact.Call + "\" of the contact at " + UtcClock(notice.Contact.TimeOff) +
             " has characters no call sign has, so it was not saved in Tolm";
      after_import = ", then correct the call there";
      break;
    case Miss::ModeNotSettable:
      text = "Relvan cannot set Tolm to " + notice.Contact.Mode + ", so the " + contact + " was not saved in Tolm";
      break;
  }
  if (notice.Kept)
    return text + ". It was added to " + unsaved_path + ": import that file into Tolm" + after_import + ".";
  return text + ", and could not be added to " + unsaved_path + " either (" + notice.FileProblem +
         "). Please enter it in Tolm by hand:\n" + ContactByHand(notice.Contact);
}

std::string MoreContactsMessage(const std::vector<OperatorNotice>& contacts, const std::string& unsaved_path) {
  return CountOfContacts(contacts.size()) + " (" + JoinCalls(contacts) + ")" +
         (contacts.size() == 1 ? " was" : " were") + " added to " + unsaved_path + ".";
}

}  // namespace texts
