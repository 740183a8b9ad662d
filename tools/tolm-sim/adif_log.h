#pragma once
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

// One saved contact, as tolm-sim's log entry holds it when "<SAVEQSO>" runs.
struct AdifQso {
  std::string Call;
  std::string Name;
  std::string Grid;
  std::string RptSent;
  std::string RptRcvd;
  std::string Comment;
  std::string Mode;  // the mode as the macros name it: "FT8", "T10", "CW", ...
  double TxHz = 0;   // 0: not set
  std::chrono::system_clock::time_point TimeOn;
  std::chrono::system_clock::time_point TimeOff;
};

// ADIF's MODE and SUBMODE for a mode named by the macros; both empty for an
// unknown or empty mode.
struct AdifMode {
  std::string_view Mode;
  std::string_view Submode;
};
AdifMode AdifModeOf(std::string_view mode);

// "<NAME:length>value" with the length in bytes; empty for an empty value.
std::string AdifField(std::string_view name, std::string_view value);

// The file header, written once when the log file is new.
std::string AdifHeader();
// One record on one line, ending in <EOR>.
std::string AdifRecord(const AdifQso& qso);

// Appends the record (after the header when the file is new or empty).
// Returns an empty string when done, or why the file could not be written.
std::string AppendAdifRecord(const std::string& path, const AdifQso& qso);
