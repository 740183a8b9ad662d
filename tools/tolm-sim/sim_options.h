#pragma once
#include <string>
#include <string_view>

// The program its ADIF log's header names.
inline constexpr std::string_view kSimProgramId = "tolm-sim";

// Options of tolm-sim, on both platforms.
struct SimOptions {
  std::string AdifPath = "tolm-sim.adi";
  std::string ImportPath;      // not empty: add this ADIF file's contacts to the log and end
  std::string TranscriptPath;  // empty: no transcript file
  long FailAfter = -1;         // refuse every call after the first N; -1 never
};

// Parses --adif FILE, --transcript FILE, --fail-after N and --import FILE.
// On a bad command line returns false with a message in error.
bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& error);
