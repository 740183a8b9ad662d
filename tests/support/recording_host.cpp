#include "recording_host.h"

#include <utility>

#include "host/transcript.h"

void RecordingHost::AttachHost() {
  if (attached_) return;
  ++AttachAttempts;
  attached_ = AttachAvailable;
}

void RecordingHost::Record(std::string line) {
  if (!attached_) return;
  if (FailAfter >= 0 && calls_ >= FailAfter) throw HostCallError("host refused: " + line);
  ++calls_;
  lines_.push_back(std::move(line));
}

void RecordingHost::ExecMacro(std::string_view text) { Record(ExecMacroLine(text)); }
void RecordingHost::SetLogField(std::int32_t index, std::string_view text) { Record(SetLogFieldLine(index, text)); }
void RecordingHost::TxFrequency(double hz) { Record(TxFrequencyLine(hz)); }
void RecordingHost::RxFrequency(double hz) { Record(RxFrequencyLine(hz)); }

std::vector<std::string> RecordingHost::Take() { return std::exchange(lines_, {}); }
