#pragma once
#include <cstdint>
#include <string>

#include "bridge/clean_text.h"
#include "core/clock.h"
#include "core/udp_address.h"

// What the front ends show of the bridge between ticks, as one plain value
// (Bridge::Facts): the status line is worded from it, and Setup reads the
// port from it. Each part of the bridge fills in its own.
struct BridgeFacts {
  Clock::TimePoint Now;  // the tick's time: "today" in the saved count is of its UTC day

  // The endpoint.
  int Port = kJtdxUdpPort;
  bool Bound = false;            // the port was taken
  bool PortReserved = false;     // the last bind was refused for a port Windows reserves
  bool LockedByAnother = false;  // the last bind was not tried: another Relvan holds the port
  std::uint32_t Group = 0;       // the multicast group shared; 0: the port is the bridge's alone
  std::uint64_t Refused = 0;     // shared: datagrams of other machines, since the start

  // The settings and the unsaved-contacts file.
  bool SettingsUnreadable = false;  // the settings file is there but could not be read: the port fell back
  bool UdpGroupInvalid = false;     // UDP_Group named no multicast group: the endpoint is not shared
  bool UnsavedTakesContacts = true;
  int UnsavedWaiting = 0;

  // The sender and Tolm.
  bool NotSentToGroup = false;  // shared: the last datagram came to this machine's address, from:
  std::string NotToGroupSender;
  bool HostOutage = false;  // a call failed and no attach has worked since
  bool HostAttached = false;
  bool JtdxClosed = false;
  Clock::TimePoint JtdxClosedAt;
  std::string ClosedSender = kUnnamedSender;

  // The last contact Tolm saved, when, and how many on that UTC day.
  std::string LastSavedCall;
  Clock::TimePoint LastSavedAt;
  int SavedCount = 0;
};
