#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "bridge/bridge_state.h"

namespace texts {

// The most characters the status line shows: it must fit the terminal's
// 44-column dialog and the Windows control whole.
inline constexpr std::size_t kStatusLineMax = 40;

// The characters of a UTF-8 text, which the status line's limit counts.
std::size_t CharacterCount(std::string_view text);

// The main window's title: the port the bridge listens on. What else the
// operator must know goes to the status line under the buttons.
std::string Title(int port);

// The status line under the main dialog's buttons: the first that holds of
// the port held elsewhere (by another Relvan, another program, or reserved
// by Windows), the settings folder that takes no file, a settings file that
// could not be read, a UDP_Group that names no multicast group, a sender
// that sends to this machine's address rather than the group, contacts
// waiting in the unsaved-contacts file, Tolm not answering or not running,
// JTDX (or the program that sent its datagrams, by its own name) closed,
// the last contact saved (with the count of that UTC day while it lasts, by
// TickTime), and where the bridge listens (shared: the group, and how many
// datagrams of other machines were refused).
std::string StatusLine(const BridgeState& state, bool host_attached);

}  // namespace texts
