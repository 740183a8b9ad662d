#pragma once
#include <chrono>
#include <string>
#include <vector>

#include "core/operator_notice.h"

// The operator's messages: what happened to which contact and what Relvan
// does next, in plain words, the programmer's detail in parentheses at the
// end. `unsaved_path` is the unsaved-contacts file's full path.
namespace texts {

// "18:40 UTC".
std::string UtcClock(UtcTime when);

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

}  // namespace texts
