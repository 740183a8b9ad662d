// libFuzzer target: datagrams of any shape through the poll tick, with the
// recording host and the fake window behind it. Each datagram is handled on
// several ticks, as the real tick repeats the last one until a newer comes.
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <string>

#include "fake_main_window.h"
#include "link/datagram_check.h"
#include "link/field_readers.h"
#include "link/poll_tick.h"
#include "load_datagram.h"
#include "recording_host.h"
#include "tick_fuzz_input.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "tick invariant broken: %s\n", what);
  std::abort();
}

bool SendsAMacro(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.starts_with("ExecMacro")) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TickFuzzInput input = DecodeTickFuzzInput(data, size);
  auto state = std::make_unique<BridgeState>();
  RecordingHost host(!input.StartDetached);
  host.FailAfter = input.FailAfter;
  FakeMainWindow window;

  for (const auto& datagram : input.Datagrams) {
    if (datagram.size() > kMaxDatagram) continue;
    LoadDatagram(*state, datagram);
    const bool closes = IsAcceptedDatagram(*state) && DatagramByte(*state, 11) == 6;
    for (int tick = 0; tick < input.TicksPerDatagram; ++tick) {
      try {
        PollTick(*state, host, window);
      } catch (const HostCallError&) {
        // The front end shows the error and never ticks again.
        Require(!window.TimerRunning, "timer re-armed after a failing host call");
        return 0;
      }
      Require(window.TimerRunning != closes, "timer state after the tick");
      // Repeats never switch the mode or save a contact again.
      const std::vector<std::string> lines = host.Take();
      if (tick > 0) Require(!SendsAMacro(lines), "a repeated datagram sent a macro");
      Require(window.Fields().Freq.size() <= 24, "frequency text too long");
      if (closes) return 0;  // no tick runs after a Close
    }
  }
  return 0;
}
