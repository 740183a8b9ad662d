#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/operator_notice.h"
#include "core/socket_handle.h"

// An IPv4 address and port in host byte order.
struct PeerAddress {
  std::uint32_t Ip = 0;
  std::uint16_t Port = 0;
};

// A contact saved or kept, as the duplicate check knows it again: by its
// bytes, or by its call, time off and frequency when it comes cut or with
// other bytes.
struct HandledContact {
  std::vector<std::uint8_t> Bytes;
  std::string Call;
  std::chrono::sys_time<std::chrono::milliseconds> TimeOff;
  std::int64_t FrequencyHz = 0;
};
inline constexpr std::size_t kRecentContacts = 64;

// The largest datagram UDP can carry; every datagram is received whole.
inline constexpr std::size_t kMaxDatagram = 65536;

// Everything the bridge keeps between ticks. The program owns exactly one
// instance for its whole life; tests make their own. Nothing of this lives in
// globals, so every test starts from a clean state.
struct BridgeState {
  // UDP endpoint.
  SocketHandle UdpSocket = kInvalidSocket;
  int UdpPort = 2237;
  bool EndpointBound = false;  // whether the last bind took the port
  bool PortReserved = false;   // the last bind was refused for a port Windows reserves
  // The socket a move of the endpoint left, kept until what was queued on it
  // has been handled.
  SocketHandle RetiredSocket = kInvalidSocket;
  PeerAddress BindAddress;  // 127.0.0.1 and the port
  PeerAddress LastSender;   // where the last datagram came from; Heartbeats are answered there

  // The datagram being handled: the last one a receive took. Bytes at
  // RecvLength and beyond read as 0.
  std::array<std::uint8_t, kMaxDatagram> RecvBuffer{};
  std::size_t RecvLength = 0;
  std::size_t ReadPos = 0;

  // Message handling.
  std::deque<HandledContact> RecentContacts;  // the last kRecentContacts saved or kept, oldest first
  bool TitleStale = false;                    // the port changed: the title is made anew at the next tick
  bool HasStatusForNewHost = false;           // a Status has been handled: its state is worth sending to a new host
  // What the next Status's dial frequency is compared with: the Rx frequency
  // a Status wrote, or the Tx frequency of a logged contact. Hz.
  std::int64_t DialReferenceHz = 0;
  std::int64_t LastTxFrequency = 0;  // Hz, the last ones sent; 0 when none was
  std::int64_t LastRxFrequency = 0;
  bool StatusNamedMode = false;  // the last Status carried a mode; Heartbeats go unanswered then
  std::string LastMode;
  std::string LastDxCall;
  std::string LastReport;
  std::string LastReportRcvd;
  std::string LastGrid;
  std::string LastName;
  std::string LastComments;

  // Tolm and JTDX coming and going.
  Clock::TimePoint TickTime;      // when the tick running now started
  bool HostOutage = false;        // a call failed and no attach has worked since
  std::string HostFailure;        // while HostOutage: the failed call and why ("ExecMacro: Broken pipe")
  Clock::TimePoint NextAttachAt;  // after a failed call, no attach before this
  bool JtdxClosed = false;        // JTDX said Close and has sent nothing since
  Clock::TimePoint JtdxClosedAt;
  // Where contacts that do not reach Tolm are kept, in full; set at start-up.
  // A path, not text: on Windows it may hold any character.
  std::filesystem::path UnsavedContactsPath;
  int UnsavedWaiting = 0;           // records in that file when it was last counted
  bool SettingsWritable = true;     // whether Plugins takes files: no contact could be kept otherwise
  bool SettingsUnreadable = false;  // the settings file is there but could not be read: the port fell back
  // The last contact Tolm saved, when, and how many on that UTC day since
  // the program started.
  std::string LastSavedCall;
  Clock::TimePoint LastSavedAt;
  int SavedCount = 0;
  Clock::TimePoint UpkeepDoneAt;  // when the unsaved file was last counted and the port last tried
  // What the window has still to tell the operator, oldest first.
  std::deque<OperatorNotice> Notices;

  // Windows: one position cache shared by the main and the Setup dialog.
  int WindowX = 0;
  int WindowY = 0;
  bool SetupOpen = false;
  std::string TitleText;
};
