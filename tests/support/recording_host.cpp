#include "recording_host.h"

#include <algorithm>
#include <utility>

#include "host/transcript.h"

void RecordingHost::AttachHost() {
  if (attached_) return;
  ++AttachAttempts;
  attached_ = AttachAvailable;
}

void RecordingHost::LimitCalls(std::chrono::milliseconds left) {
  if (WaitClock != nullptr) calls_end_ = WaitClock->Now() + left;
}

void RecordingHost::Record(const HostCall& call) {
  if (!attached_) return;
  if (WaitClock != nullptr && HangFor.count() > 0) {
    const ::Clock::TimePoint until =
        calls_end_ ? std::min(*calls_end_, WaitClock->Now() + HangFor) : WaitClock->Now() + HangFor;
    if (until > WaitClock->Now()) WaitClock->Advance(until - WaitClock->Now());
    lines_.push_back(TranscriptLine(call));
    throw HostCallError(HostCallName(call.Op), "no answer", HostCallError::Outcome::MayHaveRun);
  }
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
