#pragma once
#include <string>

#include "bridge/bridge_facts.h"
#include "ui/texts.h"

namespace texts {

// The status line under the main dialog's buttons, within kStatusLineMax:
// the first that holds of the port held elsewhere (by another Relvan,
// another program, or reserved by Windows), the settings folder that takes
// no file, a settings file that could not be read, a UDP_Group that names no
// multicast group, a sender that sends to this machine's address rather than
// the group, contacts waiting in the unsaved-contacts file, Tolm not
// answering or not running, JTDX (or the program that sent its datagrams, by
// its own name) closed, the last contact saved (with the count of that UTC
// day while it lasts, by the facts' Now), and where the bridge listens
// (shared: the group, and how many datagrams of other machines were refused).
std::string StatusLine(const BridgeFacts& facts);

}  // namespace texts
