#pragma once
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

// The program its ADIF log's header names.
inline constexpr std::string_view kSimProgramId = "tolm-sim";

// Options of tolm-sim, on both platforms.
struct SimOptions {
  std::filesystem::path AdifPath = "tolm-sim.adi";
  std::filesystem::path ImportPath;      // not empty: add this ADIF file's contacts to the log and end
  std::filesystem::path TranscriptPath;  // empty: no transcript file
  long FailAfter = -1;                   // refuse every call after the first N; -1 never
  // A hung Tolm: during this long after the start each call answers only
  // when it is over.
  std::chrono::seconds SlowFor{0};
};

// Parses --adif FILE, --transcript FILE, --fail-after N, --slow-for SECONDS
// and --import FILE from arguments in UTF-8 (on Windows the caller converts
// the wide command line), so that a file name may hold any character.
// On a bad command line returns false with the message in reason.
[[nodiscard]] bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& reason);
