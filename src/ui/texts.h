#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "bridge/operator_notice.h"

// What Relvan says to the operator, in UTF-8, on both platforms: the
// dialogs' words that are not in their templates (those are in the resource
// script), the main window's title and status line, the message boxes and
// the line on standard output. Messages say what happened to which contact
// and what Relvan does next, in plain words, the programmer's detail in
// parentheses at the end. `unsaved_path` is the unsaved-contacts file's full
// path. The terminal's own words are in ui/tui/terminal_texts.h.
namespace texts {

// The dialogs.
inline constexpr char kAboutMenuItem[] = "&О проекте Relvan...";
inline constexpr char kNotAnInteger[] = "Please enter an integer.";
inline constexpr char kPortOutOfRange[] = "Please enter an integer between 1 and 65535.";

// The main window's title: the port the bridge listens on. What else the
// operator must know goes to the status line under the buttons.
std::string Title(int port);

// The most characters the status line shows: it must fit the terminal's
// 44-column dialog and the Windows control whole.
inline constexpr std::size_t kStatusLineMax = 40;

// The characters of a UTF-8 text, which the status line's limit counts.
std::size_t CharacterCount(std::string_view text);

// The status line's sentences; ui/status_line.h chooses among them. Those
// that hold a count or a call say less where the whole would pass
// kStatusLineMax.
std::string AnotherRelvanStatus(int port);  // "Relvan already listens on port 2237"
// "Port 2237 is held by another program", or "is reserved by Windows".
std::string PortHeldStatus(int port, bool reserved);
inline constexpr char kSettingsFolderStatus[] = "Settings folder cannot be written";
std::string SettingsUnreadableStatus(int port);               // "Tolm_JTDX.ini unreadable; port 2237"
std::string UdpGroupInvalidStatus();                          // "UDP_Group is not a multicast address"
std::string NotSentToGroupStatus(const std::string& sender);  // "JTDX does not send to the group"
// "3 contacts wait in Tolm_JTDX_unsaved.adi", or "in the unsaved file".
std::string WaitingStatus(int count);
inline constexpr char kHostNotAnsweringStatus[] = "Tolm is not answering";
inline constexpr char kHostNotRunningStatus[] = "Tolm is not running";
std::string ClosedStatus(const std::string& sender, Clock::TimePoint when);  // "JTDX closed at 18:40 UTC"
// "K1ABC saved at 18:31 UTC (3 today)", with no count where `count_today`
// is 0. Where a long call would not fit the count goes first, then the
// call's end.
std::string SavedStatus(const std::string& call, Clock::TimePoint when, int count_today);
std::string ListeningStatus(int port);  // "Listening on port 2237"
// "Listening on 239.255.0.1:2237", or with the datagrams of other machines
// refused "On 239.255.0.1:2237; 3 refused", the group left out where the
// count would not fit beside it.
std::string SharedListeningStatus(const std::string& group, int port, std::uint64_t refused);

// Setup's OK on a port another program holds, or one Windows reserves.
std::string PortHeldMessage(int wanted_port, int current_port, bool listening, bool reserved, bool shared);

// Setup's OK on a port another Relvan of this session listens on.
std::string AnotherRelvanMessage(int wanted_port, int current_port, bool listening);

// The box for one notice. A contact kept nowhere else is given whole, on
// lines of its own, for the operator to enter by hand.
std::string NoticeMessage(const OperatorNotice& notice, const std::string& unsaved_path);

// One box for the contacts kept in the unsaved file while another box was
// up: "2 more contacts (W9XYZ, DL2XYZ) were added to ...". It names ten
// calls at most, then how many more.
std::string MoreContactsMessage(const std::vector<OperatorNotice>& contacts, const std::string& unsaved_path);

// On standard output when a socket would block, and the dialogs go on
// without ever polling it.
inline constexpr char kBlockingSocketLine[] = "failed to set non-blocking socket\n";

}  // namespace texts
