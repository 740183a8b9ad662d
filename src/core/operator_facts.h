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
  bool JtdxClosed = false;  // JTDX said Close and has sent nothing since
  Clock::TimePoint JtdxClosedAt;
  std::string ClosedSender = "JTDX";  // the program that said Close, by its own name ("WSJT-X")
  bool SettingsUnreadable = false;    // the settings file is there but could not be read: the port fell back
  bool UdpGroupInvalid = false;       // UDP_Group named no multicast group: the endpoint is not shared
  // Shared: the last datagram was sent to an address of this machine, not
  // through the group, by this sender (its id, at most 12 characters): a
  // second reader of the port may be given such datagrams instead.
  bool NotSentToGroup = false;
  std::string NotToGroupSender;
  // The last contact Tolm saved, when, and how many on that UTC day since the
  // program started.
  std::string LastSavedCall;
  Clock::TimePoint LastSavedAt;
  int SavedCount = 0;
  // What the window has still to tell the operator, oldest first.
  std::deque<OperatorNotice> Notices;

  // Tolm saved a contact at `now`; the first save after 00:00 UTC starts the
  // count again.
  void CountSaved(std::string_view call, Clock::TimePoint now);
};
