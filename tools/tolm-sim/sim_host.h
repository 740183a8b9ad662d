#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Options of tolm-sim, on both platforms.
struct SimOptions {
  std::string AdifPath = "tolm-sim.adi";
  std::string TranscriptPath;  // empty: no transcript file
  long FailAfter = -1;         // refuse every call after the first N; -1 never
};

// Parses --adif FILE, --transcript FILE and --fail-after N. On a bad command
// line returns false with a message in error.
bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& error);

// The substitute Tolm: the log entry being prepared (fields by index), the
// mode and the two frequencies. Runs the macros; "<SAVEQSO>" appends the entry
// to the ADIF log and starts a new one. Every call is printed on standard
// output and written to the transcript, one line each. Texts are UTF-8.
// Each operation returns std::nullopt when done, or the reason it refused.
class SimHost {
 public:
  explicit SimHost(SimOptions options);
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  std::optional<std::string> ExecMacro(std::string_view text);
  std::optional<std::string> SetLogField(std::int32_t index, std::string_view text);
  std::optional<std::string> TxFrequency(double hz);
  std::optional<std::string> RxFrequency(double hz);

 private:
  struct Impl;
  Impl* impl_;
};
