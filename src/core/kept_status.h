#pragma once
#include <cstdint>
#include <string>

// What JTDX last showed of the station being worked, kept between datagrams:
// a Status is compared with it so that only what changed goes to Tolm, and a
// Tolm that attaches later is sent it. The handlers keep it before they call
// the host. A logged contact's other texts go to Tolm (or the unsaved file)
// at once and are not kept.
struct KeptStatus {
  std::string Mode;
  std::string DxCall;
  std::string Report;  // sent
  // The call and report are those of a contact that went to the unsaved
  // file: a Tolm that attaches later is not sent them, so that its entry
  // never holds a contact that is to be imported. A Status that changes them
  // makes them its own again.
  bool DxCallUnsaved = false;
  bool ReportUnsaved = false;
  // What the next Status's dial frequency is compared with: the Rx frequency
  // a Status wrote, or the Tx frequency of a logged contact. Hz.
  std::int64_t DialReferenceHz = 0;
  std::int64_t TxFrequency = 0;  // Hz, the last ones sent; 0 when none was
  std::int64_t RxFrequency = 0;
  bool NamedMode = false;            // the last Status carried a mode; Heartbeats go unanswered then
  bool HasStatusForNewHost = false;  // a Status has been handled: worth sending to a new host
};
