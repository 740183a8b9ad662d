#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
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
  // Where contacts that do not reach Tolm are kept, in full; set at start-up.
  // A path, not text: on Windows it may hold any character.
  std::filesystem::path UnsavedContactsPath;
  int UnsavedWaiting = 0;  // records in that file when it was last counted
  // The file as Relvan last counted or wrote it: it is counted again only
  // when someone else changed it since. Damaged: a record appended there
  // would be swallowed (adif/adif_file.h, AdifCount).
  struct FileStamp {
    bool Exists = false;
    std::uintmax_t Size = 0;
    std::filesystem::file_time_type Modified;
    bool operator==(const FileStamp&) const = default;
  };
  std::optional<FileStamp> UnsavedStamp;
  bool UnsavedDamaged = false;
  bool SettingsWritable = true;     // whether Plugins takes files: no contact could be kept otherwise
  bool SettingsUnreadable = false;  // the settings file is there but could not be read: the port fell back
  bool UdpGroupInvalid = false;     // UDP_Group named no multicast group: the endpoint is not shared
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
