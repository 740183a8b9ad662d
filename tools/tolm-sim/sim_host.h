#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "host/host_link.h"
#include "sim_options.h"

// The substitute Tolm: the log entry being prepared (fields by index), the
// mode and the two frequencies. Runs the macros; "<SAVEQSO>" appends the entry
// to the ADIF log and starts a new one. Every call it carries out is printed
// on standard output and written to the transcript, one line each (the lines
// of host/transcript.h); a refused call goes to standard error instead, so the
// transcript holds what the host did. Texts are UTF-8.
// Each operation returns true when done; false when it refused, with the
// reason, for the client to be told.
class SimHost {
 public:
  // The time "<FIXSTARTTIME>" and "<SAVEQSO>" read; tests set their own.
  using Clock = std::function<::Clock::TimePoint()>;

  // A host that appends to the transcript file, when the options name one;
  // nothing, with the reason, when that file cannot be opened.
  [[nodiscard]] static std::unique_ptr<SimHost> Open(SimOptions options, std::string& reason);
  [[nodiscard]] static std::unique_ptr<SimHost> Open(SimOptions options, Clock clock, std::string& reason);
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  [[nodiscard]] bool ExecMacro(std::string_view text, std::string& reason);
  [[nodiscard]] bool SetLogField(LogField field, std::string_view text, std::string& reason);
  [[nodiscard]] bool TxFrequency(double hz, std::string& reason);
  [[nodiscard]] bool RxFrequency(double hz, std::string& reason);

  // The mode last selected ("FT8", "CW", ...; empty before any).
  const std::string& Mode() const;

 private:
  struct Impl;
  explicit SimHost(std::unique_ptr<Impl> impl);

  std::unique_ptr<Impl> impl_;
};
