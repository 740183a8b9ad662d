#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/operator_notice.h"

// What the operator is told: the facts the status line words (the window
// turns them into text) and the notices still to be shown in boxes.
struct OperatorFacts {
  // Shared: the last datagram was sent to an address of this machine, not
  // through the group, by this sender (its id, at most 12 characters): a
  // second reader of the port may be given such datagrams instead.
  bool NotSentToGroup = false;
  std::string NotToGroupSender;
  // What the window has still to tell the operator, oldest first.
  std::deque<OperatorNotice> Notices;
};
