#include "sim_host.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <thread>

#include "adif/adif_file.h"
#include "core/file_path.h"
#include "host/host_link.h"
#include "host/host_macros.h"
#include "host/transcript.h"

namespace {

// The host interface carries frequencies as doubles, exact up to 2^53 Hz.
constexpr double kMaxHertz = 9007199254740992.0;

}  // namespace

struct SimHost::Impl {
  Impl(SimOptions options_in, Clock clock_in)
      : options(std::move(options_in)),
        clock(std::move(clock_in)),
        answers_from(std::chrono::steady_clock::now() + options.SlowFor) {}
  ~Impl() {
    if (transcript != nullptr) std::fclose(transcript);
  }

  SimOptions options;
  Clock clock;
  std::chrono::steady_clock::time_point answers_from;  // --slow-for: no call answers before
  std::FILE* transcript = nullptr;
  long calls = 0;

  std::map<std::int32_t, std::string> fields;
  std::optional<::Clock::TimePoint> start_time;
  std::string mode;
  double tx_hz = 0;
  double rx_hz = 0;

  std::string FieldText(LogField field) const {
    const auto found = fields.find(static_cast<std::int32_t>(field));
    return found == fields.end() ? std::string() : found->second;
  }

  // Counts the call; false with the reason when --fail-after refuses it.
  bool Admit(std::string& reason) {
    std::this_thread::sleep_until(answers_from);
    ++calls;
    if (options.FailAfter >= 0 && calls > options.FailAfter) {
      reason = "tolm-sim refuses every call after the first " + std::to_string(options.FailAfter) + " (--fail-after)";
      return false;
    }
    return true;
  }

  // Writes the call's line on stdout and to the transcript when it was carried
  // out, or the reason on stderr; passes the outcome on.
  bool Report(const std::string& line, bool done, const std::string& reason) {
    if (!done) {
      std::fprintf(stderr, "tolm-sim: refused %s: %s\n", line.c_str(), reason.c_str());
      std::fflush(stderr);
      return false;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (transcript != nullptr) {
      std::fwrite(line.data(), 1, line.size(), transcript);
      std::fputc('\n', transcript);
      std::fflush(transcript);
    }
    return true;
  }

  bool RunMacro(std::string_view text, std::string& reason) {
    if (const std::string_view macro_mode = ModeOfMacro(text); !macro_mode.empty()) {
      mode = macro_mode;
      return true;
    }
    if (text == kCursorToTxMacro) return true;  // only moves the cursor in Tolm's window
    if (text == kFixStartTimeMacro) {
      start_time = clock();
      return true;
    }
    if (text == kSaveQsoMacro) return SaveQso(reason);
    reason = "unknown macro " + QuoteTranscriptText(text);
    return false;
  }

  bool SaveQso(std::string& reason) {
    LoggedContact contact;
    contact.Call = FieldText(LogField::Call);
    if (contact.Call.empty()) {
      reason = "the log entry has no call to save";
      return false;
    }
    contact.Name = FieldText(LogField::Name);
    contact.Grid = FieldText(LogField::Grid);
    contact.RptSent = FieldText(LogField::RptSent);
    contact.RptRcvd = FieldText(LogField::RptRcvd);
    contact.Comments = FieldText(LogField::Comments);
    contact.Mode = mode;
    contact.FrequencyHz = std::llround(tx_hz);
    using std::chrono::milliseconds;
    contact.TimeOff = std::chrono::time_point_cast<milliseconds>(clock());
    contact.TimeOn = start_time ? std::chrono::time_point_cast<milliseconds>(*start_time) : contact.TimeOff;
    // A failed write keeps the entry, so that nothing typed is lost.
    std::string system_reason;
    if (!AppendAdifRecord(options.AdifPath, contact, kSimProgramId, system_reason)) {
      reason = "cannot write the ADIF log " + Utf8FromPath(options.AdifPath) + " (" + system_reason + ")";
      return false;
    }
    fields.clear();
    start_time.reset();
    return true;
  }

  static bool CheckIndex(std::int32_t index, std::string& reason) {
    if (index >= 0) return true;
    reason = "no log-entry field " + std::to_string(index);
    return false;
  }

  static bool CheckHertz(double hz, std::string& reason) {
    if (std::isfinite(hz) && hz >= 0 && hz <= kMaxHertz) return true;
    reason = "not a frequency: " + FormatHertz(hz) + " Hz";
    return false;
  }
};

std::unique_ptr<SimHost> SimHost::Open(SimOptions options, std::string& reason) {
  return Open(
      std::move(options), [] { return std::chrono::system_clock::now(); }, reason);
}

std::unique_ptr<SimHost> SimHost::Open(SimOptions options, Clock clock, std::string& reason) {
  auto impl = std::make_unique<Impl>(std::move(options), std::move(clock));
  if (!impl->options.TranscriptPath.empty()) {
    impl->transcript = OpenFile(impl->options.TranscriptPath, "ab");
    if (impl->transcript == nullptr) {
      reason = "cannot open the transcript file " + Utf8FromPath(impl->options.TranscriptPath);
      return nullptr;
    }
  }
  return std::unique_ptr<SimHost>(new SimHost(std::move(impl)));
}

SimHost::SimHost(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

SimHost::~SimHost() = default;

bool SimHost::ExecMacro(std::string_view text, std::string& reason) {
  const bool done = impl_->Admit(reason) && impl_->RunMacro(text, reason);
  return impl_->Report(TranscriptLine(HostCall::Macro(text)), done, reason);
}

bool SimHost::SetLogField(LogField field, std::string_view text, std::string& reason) {
  // The wire and COM carry any index; the entry keeps whatever it is given.
  const auto index = static_cast<std::int32_t>(field);
  const bool done = impl_->Admit(reason) && Impl::CheckIndex(index, reason);
  if (done) impl_->fields[index] = std::string(text);
  return impl_->Report(TranscriptLine(HostCall::Field(index, text)), done, reason);
}

bool SimHost::TxFrequency(double hz, std::string& reason) {
  const bool done = impl_->Admit(reason) && Impl::CheckHertz(hz, reason);
  if (done) impl_->tx_hz = hz;
  return impl_->Report(TranscriptLine(HostCall::Tx(hz)), done, reason);
}

bool SimHost::RxFrequency(double hz, std::string& reason) {
  const bool done = impl_->Admit(reason) && Impl::CheckHertz(hz, reason);
  if (done) impl_->rx_hz = hz;
  return impl_->Report(TranscriptLine(HostCall::Rx(hz)), done, reason);
}

const std::string& SimHost::Mode() const { return impl_->mode; }
