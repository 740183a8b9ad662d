#pragma once
#include <chrono>
#include <cstdint>
#include <string>

// Something the operator must hear of, kept until the window has shown it:
// Tolm stopped answering, or a contact did not reach Tolm.
struct OperatorNotice {
  enum class Kind { HostStopped, ContactNotSaved };

  Kind What = Kind::HostStopped;
  // The failed call and why ("SetLogField: Broken pipe"); empty for a
  // contact that found no Tolm running.
  std::string HostDetail;

  // ContactNotSaved: the contact, and where it was kept instead.
  std::string Call;
  std::chrono::sys_time<std::chrono::milliseconds> TimeOff;
  std::int64_t FrequencyHz = 0;  // 0 when the datagram named none
  bool Kept = false;             // added to the unsaved-contacts file
  std::string FileProblem;       // why it could not be, when not kept
};
