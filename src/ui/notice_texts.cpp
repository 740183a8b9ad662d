#include "ui/notice_texts.h"

#include <chrono>
#include <cstdint>

#include "link/frequency.h"

namespace texts {

std::string UtcClock(std::chrono::sys_time<std::chrono::milliseconds> when) {
  using namespace std::chrono;
  const hh_mm_ss time{floor<minutes>(when - floor<days>(when))};
  const auto two = [](long value) { return std::string(value < 10 ? "0" : "") + std::to_string(value); };
  return two(time.hours().count()) + ":" + two(time.minutes().count()) + " UTC";
}

namespace {

// "14075.50 kHz", as the Freq field shows it; empty without a frequency.
std::string Kilohertz(std::int64_t hz) {
  if (hz <= 0) return {};
  std::string text;
  FormatFrequencyText(hz, text);
  text.erase(0, text.find_first_not_of(' '));
  return text + " kHz";
}

// What to type into Tolm by hand: "K1ABC, 18:40 UTC, 14075.50 kHz".
std::string ContactByHand(const OperatorNotice& contact) {
  std::string text = contact.Call + ", " + UtcClock(contact.TimeOff);
  if (const std::string khz = Kilohertz(contact.FrequencyHz); !khz.empty()) text += ", " + khz;
  return text;
}

std::string JoinCalls(const std::vector<const OperatorNotice*>& contacts, bool by_hand) {
  std::string text;
  for (const OperatorNotice* contact : contacts) {
    if (!text.empty()) text += by_hand ? "; " : ", ";
    text += by_hand ? ContactByHand(*contact) : contact->Call;
  }
  return text;
}

std::string CountOfContacts(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " more contact" : " more contacts");
}

}  // namespace

std::string PortHeldMessage(int wanted_port, int current_port, bool listening, bool reserved) {
  std::string text = "Port " + std::to_string(wanted_port) +
                     (reserved ? " is reserved by Windows; " : " is held by another program; ");
  if (listening) return text + "Relvan goes on listening on port " + std::to_string(current_port) + ".";
  return text + "Relvan cannot hear JTDX until that port is free or another is chosen.";
}

std::string NoticeMessage(const OperatorNotice& notice, const std::string& unsaved_path) {
  if (notice.What == OperatorNotice::Kind::HostStopped) {
    return "Tolm stopped answering; Relvan will attach again when it runs (" + notice.HostDetail + ").";
  }
  std::string text = "The contact with " + notice.Call + " at " + UtcClock(notice.TimeOff) + " was not saved in Tolm";
  text += notice.HostDetail.empty() ? ", which is not running" : " (" + notice.HostDetail + ")";
  if (notice.Kept) return text + ". It was added to " + unsaved_path + ": import that file into Tolm.";
  return text + ", and could not be added to " + unsaved_path +
         " either. Please enter it in Tolm by hand: " + ContactByHand(notice) + " (" + notice.FileProblem + ").";
}

std::string MoreContactsMessage(const std::vector<OperatorNotice>& contacts, const std::string& unsaved_path) {
  std::vector<const OperatorNotice*> kept;
  std::vector<const OperatorNotice*> lost;
  for (const OperatorNotice& contact : contacts) (contact.Kept ? kept : lost).push_back(&contact);
  std::string text;
  if (!kept.empty()) {
    text = CountOfContacts(kept.size()) + " (" + JoinCalls(kept, false) + ")" + (kept.size() == 1 ? " was" : " were") +
           " added to " + unsaved_path + ".";
  }
  if (!lost.empty()) {
    if (!text.empty()) text += " ";
    text += CountOfContacts(lost.size()) + " could not be saved anywhere; please enter " +
            (lost.size() == 1 ? "it" : "them") + " in Tolm by hand: " + JoinCalls(lost, true) + " (" +
            lost.front()->FileProblem + ").";
  }
  return text;
}

}  // namespace texts
