// libFuzzer target: datagrams of any shape through the tick's dispatch, with
// the recording host and the fake window behind it, and ticks with nothing
// new between them. Besides crashes it checks what the bridge promises the
// host: nothing on a tick without a datagram, at most one save per contact
// received, and no frequency no radio has.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "fake_clock.h"
#include "fake_main_window.h"
#include "memory_net.h"
#include "bridge/frequency.h"
#include "bridge/poll_tick.h"
#include "recording_host.h"
#include "tick_fuzz_input.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "tick invariant broken: %s\n", what);
  std::abort();
}

void CheckCalls(const std::vector<std::string>& lines) {
  int saves = 0;
  for (const std::string& line : lines) {
    saves += line == R"(ExecMacro "<SAVEQSO>")";
    for (const std::string_view operation : {"TxFrequency ", "RxFrequency "}) {
      if (!line.starts_with(operation)) continue;
      long long hz = 0;
      const auto [end, error] = std::from_chars(line.data() + operation.size(), line.data() + line.size(), hz);
      Require(error == std::errc() && end == line.data() + line.size(), "a frequency that is no whole number");
      Require(hz >= 1 && hz <= kMaxFrequency, "a frequency outside 1 Hz to 2^53 Hz");
    }
  }
  Require(saves <= 1, "one datagram saved more than one contact");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TickFuzzInput input = DecodeTickFuzzInput(data, size);
  MemoryNet net;
  auto state = std::make_unique<BridgeState>(net);  // no endpoint opened: a tick receives nothing
  RecordingHost host(!input.StartDetached);
  host.FailAfter = input.FailAfter;
  FakeMainWindow window;
  const FakeClock clock;

  for (const auto& datagram : input.Datagrams) {
    if (datagram.size() > kMaxDatagram) continue;
    try {
      // As the tick hands each datagram received to its handler.
      DispatchDatagram(datagram, *state, host, window);
    } catch (const HostCallError&) {
      host.DetachHost();  // as the tick does after a failed call
    }
    CheckCalls(host.Take());
    Require(window.Fields().Freq.size() <= 24, "frequency text too long");

    for (int tick = 1; tick < input.TicksPerDatagram; ++tick) {
      const bool attached = host.IsAttached();
      PollTick(*state, host, window, clock);
      Require(window.TimerRunning, "timer not re-armed after a tick");
      // Only a host that has just attached is sent anything: the last Status.
      const std::vector<std::string> lines = host.Take();
      if (attached) Require(lines.empty(), "a tick with nothing new called the host");
      CheckCalls(lines);
    }
  }
  return 0;
}
