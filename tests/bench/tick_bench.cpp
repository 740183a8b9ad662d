// Time and heap allocations of one poll tick on Status and QSO Logged
// datagrams, with no network: the endpoint is closed, so every tick handles
// the datagram loaded last, as the real tick does between datagrams.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "allocation_counter.h"
#include "jtdx_messages.h"
#include "link/poll_tick.h"
#include "load_datagram.h"

namespace {

// A host that takes every call and keeps nothing, so that only the tick's
// own work is measured.
class NullHost : public HostLink {
 public:
  void AttachHost() override {}
  bool IsAttached() const override { return true; }
  void ExecMacro(std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  void SetLogField(LogField, std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  void TxFrequency(double hz) override { benchmark::DoNotOptimize(hz); }
  void RxFrequency(double hz) override { benchmark::DoNotOptimize(hz); }
};

class NullWindow : public MainWindow {
 public:
  DisplayFields& Fields() override { return fields_; }
  void PushFields() override { benchmark::DoNotOptimize(&fields_); }
  void SetTitle(const std::string&) override {}
  void StartPollTimer() override {}
  void StopPollTimer() override {}

 private:
  DisplayFields fields_;
};

StatusMessage Ft8Status(std::string call) {
  StatusMessage status;
  status.DxCall = std::move(call);
  status.Report = "-5";
  status.RxDf = 1200;
  status.TxDf = 1500;
  return status;
}

QsoLoggedMessage Contact() {
  QsoLoggedMessage qso;
  qso.Name = "Bob";
  qso.Comments = "tnx for the QSO, 73 and good DX";
  return qso;
}

struct Bridge {
  std::unique_ptr<BridgeState> state = std::make_unique<BridgeState>();
  NullHost host;
  NullWindow window;
  void Tick() { PollTick(*state, host, window); }
};

// Runs the loop and reports the allocations per tick as a counter.
template <typename Body>
void MeasureTicks(benchmark::State& run, Body body) {
  const std::size_t before = AllocationCount();
  for (auto _ : run) body();
  run.counters["allocs_per_tick"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

// The common case: the same Status on every tick until JTDX sends another.
void StatusRepeated(benchmark::State& run) {
  Bridge bridge;
  LoadDatagram(*bridge.state, EncodeMessage(Ft8Status("K1ABC")));
  bridge.Tick();
  MeasureTicks(run, [&] { bridge.Tick(); });
}
BENCHMARK(StatusRepeated);

// A new Status on every tick, the DX call and report changing each time.
void StatusChanging(benchmark::State& run) {
  Bridge bridge;
  StatusMessage other = Ft8Status("W9XYZ");
  other.Report = "-12";
  const std::vector<std::uint8_t> datagrams[] = {EncodeMessage(Ft8Status("K1ABC")), EncodeMessage(other)};
  std::size_t next = 0;
  MeasureTicks(run, [&] {
    LoadDatagram(*bridge.state, datagrams[next]);
    next ^= 1;
    bridge.Tick();
  });
}
BENCHMARK(StatusChanging);

// A logged contact on its repeats: latched, nothing to do.
void QsoLoggedRepeated(benchmark::State& run) {
  Bridge bridge;
  LoadDatagram(*bridge.state, EncodeMessage(Contact()));
  bridge.Tick();
  MeasureTicks(run, [&] { bridge.Tick(); });
}
BENCHMARK(QsoLoggedRepeated);

// The whole logging sequence, as on the first tick of each contact.
void QsoLoggedActedOn(benchmark::State& run) {
  Bridge bridge;
  LoadDatagram(*bridge.state, EncodeMessage(Contact()));
  MeasureTicks(run, [&] {
    bridge.state->LoggedDatagram = 0;
    bridge.Tick();
  });
}
BENCHMARK(QsoLoggedActedOn);

}  // namespace
