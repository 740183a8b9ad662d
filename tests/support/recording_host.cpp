#include "recording_host.h"

#include <utility>

#include "host/transcript.h"

void RecordingHost::AttachHost() {
  if (attached_) return;
  ++AttachAttempts;
  attached_ = AttachAvailable;
}

void RecordingHost::Record(const HostCall& call) {
  if (!attached_) return;
  const bool fails = FailAfter >= 0 && calls_ >= FailAfter;
  if (fails && !FailMayHaveRun) throw HostCallError(HostCallName(call.Op), "refused " + TranscriptLine(call));
  ++calls_;
  lines_.push_back(TranscriptLine(call));
  if (fails) {
    throw HostCallError(HostCallName(call.Op), "no answer to " + TranscriptLine(call),
                        HostCallError::Outcome::MayHaveRun);
  }
}

void RecordingHost::ExecMacro(std::string_view text) { Record(HostCall::Macro(text)); }
void RecordingHost::SetLogField(LogField field, std::string_view text) {
  Record(HostCall::Field(static_cast<std::int32_t>(field), text));
}
void RecordingHost::TxFrequency(double hz) { Record(HostCall::Tx(hz)); }
void RecordingHost::RxFrequency(double hz) { Record(HostCall::Rx(hz)); }

std::vector<std::string> RecordingHost::Take() { return std::exchange(lines_, {}); }
