// Time and heap allocations of the poll tick: a tick with nothing new on a
// real loopback endpoint, the handling of one Status, Heartbeat, Clear and
// QSO Logged as the tick hands them over, a tick that drains a burst of Decodes (alone,
// and shared beside a bare recvmsg loop), and the tick with its upkeep
// beside a large unsaved-contacts file.
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "fake_clock.h"
#include "ft8_status.h"
#include "jtdx_messages.h"
#include "memory_net.h"
#include "bridge/endpoint.h"
#include "adif/adif_file.h"
#include "bridge/poll_tick.h"
#include "udp_peer.h"

namespace {

// A host that takes every call and keeps nothing, so that only the tick's
// own work is measured.
class NullHost : public HostLink {
 public:
  void AttachHost() override {}
  bool IsAttached() const override { return true; }
  void DetachHost() override {}
  void ExecMacro(std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  void SetLogField(LogField, std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
  void TxFrequency(double hz) override { benchmark::DoNotOptimize(hz); }
  void RxFrequency(double hz) override { benchmark::DoNotOptimize(hz); }
};

class NullWindow : public MainWindow {
 public:
  DisplayFields& Fields() override { return fields_; }
  void PushFields() override { benchmark::DoNotOptimize(&fields_); }
  void StartPollTimer() override {}
  void StopPollTimer() override {}

 private:
  DisplayFields fields_;
};

QsoLoggedMessage Contact() {
  QsoLoggedMessage qso;
  qso.Name = "Bob";
  qso.Comments = "tnx for the QSO, 73 and good DX";
  return qso;
}

// A bridge listening on a free loopback port of the system's sockets (or of
// those it is handed), with JTDX's side beside it; or, given a group, sharing
// the port in that group.
struct TickRig {
  explicit TickRig(std::uint32_t group = 0, Net* sockets = nullptr) : net(sockets != nullptr ? *sockets : system) {
    (void)net.StartSocketLibrary();
    state->Endpoint.SetGroup(group);
    const std::uint16_t port = UdpPeer().Port();
    (void)state->Endpoint.Open(port, nullptr);
  }
  ~TickRig() {
    state.reset();
    net.CleanupSocketLibrary();
  }
  void Tick() { PollTick(*state, host, window, clock); }
  void Dispatch(const std::vector<std::uint8_t>& datagram) { DispatchDatagram(datagram, *state, host, window); }
  void Send(const std::vector<std::uint8_t>& datagram) {
    jtdx.SendTo(static_cast<std::uint16_t>(state->Endpoint.Port()), datagram);
  }

  SystemNet system;
  Net& net;
  std::unique_ptr<BridgeState> state = std::make_unique<BridgeState>(net);
  NullHost host;
  NullWindow window;
  const FakeClock clock;
  UdpPeer jtdx;
};

// Runs the loop and reports the allocations per tick as a counter.
template <typename Body>
void MeasureTicks(benchmark::State& run, Body body) {
  const std::size_t before = AllocationCount();
  for (auto _ : run) body();
  run.counters["allocs_per_tick"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

// Hands the datagrams to the tick's dispatch in turn, so that each comes
// after the others and is new; a first round, not counted, warms up what the
// bridge keeps.
void DispatchInTurns(benchmark::State& run, TickRig& rig, const std::vector<std::vector<std::uint8_t>>& datagrams) {
  for (const auto& datagram : datagrams) rig.Dispatch(datagram);
  std::size_t next = 0;
  MeasureTicks(run, [&] {
    rig.Dispatch(datagrams[next]);
    next = (next + 1) % datagrams.size();
  });
}

// Contacts enough that none is among those the bridge remembers when it comes
// again, each a minute after the one before.
std::vector<std::vector<std::uint8_t>> Contacts(const QsoLoggedMessage& first) {
  std::vector<std::vector<std::uint8_t>> contacts;
  QsoLoggedMessage qso = first;
  for (std::size_t i = 0; i <= 2 * RecentContacts::kKept; ++i, qso.TimeOff.MsOfDay += 60 * 1000) {
    contacts.push_back(EncodeMessage(qso));
  }
  return contacts;
}

// Ten times a second while JTDX is quiet: one receive that finds nothing.
void IdleTick(benchmark::State& run) {
  TickRig bridge;
  bridge.Tick();
  MeasureTicks(run, [&] { bridge.Tick(); });
}
BENCHMARK(IdleTick);

// The common Status: the same station and report as the one before, so only
// the frequencies go to the host.
void StatusTick(benchmark::State& run) {
  TickRig bridge;
  const std::vector<std::uint8_t> status = EncodeMessage(Ft8Status("K1ABC"));
  bridge.Dispatch(status);
  MeasureTicks(run, [&] { bridge.Dispatch(status); });
}
BENCHMARK(StatusTick);

// The same on an endpoint shared in a multicast group, from this machine's
// last interface address (of a machine with three, on sockets of memory):
// the sender's check comes with every dispatch.
void SharedStatusTick(benchmark::State& run) {
  MemoryNet sockets;
  sockets.LocalIps = {kLoopbackIp, 0x0A000005, 0xC0A80105};
  sockets.Sender = {sockets.LocalIps.back(), 50000};
  sockets.Destination = kLoopbackIp;
  TickRig bridge(*ParseMulticastGroup("239.255.0.1"), &sockets);
  const std::vector<std::uint8_t> status = EncodeMessage(Ft8Status("K1ABC"));
  sockets.Arrive(bridge.state->Endpoint.Port(), status);
  (void)bridge.state->Endpoint.Receive();
  bridge.Dispatch(status);
  MeasureTicks(run, [&] { bridge.Dispatch(status); });
}
BENCHMARK(SharedStatusTick);

// A Status whose station changes each time: the DX call, the report and,
// with the Tx offset, the Freq text.
void StatusChangingTick(benchmark::State& run) {
  TickRig bridge;
  StatusMessage other = Ft8Status("W9XYZ");
  other.Report = "-12";
  other.TxDf = 1800;
  DispatchInTurns(run, bridge, {EncodeMessage(Ft8Status("K1ABC")), EncodeMessage(other)});
}
BENCHMARK(StatusChangingTick);

// A Heartbeat before any Status names a mode: answered, from the receive of
// it on, to where it came from.
void HeartbeatTick(benchmark::State& run) {
  TickRig bridge;
  const std::vector<std::uint8_t> heartbeat = EncodeMessage(HeartbeatMessage());
  bridge.Send(heartbeat);
  bridge.Tick();
  MeasureTicks(run, [&] { bridge.Dispatch(heartbeat); });
}
BENCHMARK(HeartbeatTick);

// JTDX's Erase: the fields and Tolm's entry emptied.
void ClearTick(benchmark::State& run) {
  TickRig bridge;
  const std::vector<std::uint8_t> clear = EncodeMessage(ClearMessage());
  bridge.Dispatch(clear);
  MeasureTicks(run, [&] { bridge.Dispatch(clear); });
}
BENCHMARK(ClearTick);

// A logged contact, filled in and saved; each is a new one.
void QsoLoggedTick(benchmark::State& run) {
  TickRig bridge;
  DispatchInTurns(run, bridge, Contacts(Contact()));
}
BENCHMARK(QsoLoggedTick);

// The same with a comment of 180 characters: no allocation for a long text.
void QsoLoggedLongCommentTick(benchmark::State& run) {
  TickRig bridge;
  QsoLoggedMessage qso = Contact();
  qso.Comments = std::string(180, 'c');
  DispatchInTurns(run, bridge, Contacts(qso));
}
BENCHMARK(QsoLoggedLongCommentTick);

// A busy period: 80 Decodes and a Status waiting in the socket for one tick.
void DrainTick(benchmark::State& run) {
  TickRig bridge;
  const std::vector<std::uint8_t> decode = EncodeMessage(DecodeMessage());
  const std::vector<std::uint8_t> status = EncodeMessage(Ft8Status("K1ABC"));
  const std::size_t before = AllocationCount();
  std::size_t sending = 0;
  for (auto _ : run) {
    run.PauseTiming();
    const std::size_t start = AllocationCount();
    for (int i = 0; i < 80; ++i) bridge.Send(decode);
    bridge.Send(status);
    sending += AllocationCount() - start;
    run.ResumeTiming();
    bridge.Tick();
  }
  run.counters["allocs_per_tick"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before - sending), benchmark::Counter::kAvgIterations);
}
BENCHMARK(DrainTick);

// The same burst on an endpoint shared in a group, where each receive reads
// the datagram's destination too (recvmsg with IP_PKTINFO) ...
void SharedDrainTick(benchmark::State& run) {
  TickRig bridge(*ParseMulticastGroup("239.255.0.1"));
  const std::vector<std::uint8_t> decode = EncodeMessage(DecodeMessage());
  bridge.Send(decode);
  bridge.Tick();  // the sender, which sends to 127.0.0.1 here, is named once
  const std::size_t before = AllocationCount();
  std::size_t sending = 0;
  for (auto _ : run) {
    run.PauseTiming();
    const std::size_t start = AllocationCount();
    for (int i = 0; i < 81; ++i) bridge.Send(decode);
    sending += AllocationCount() - start;
    run.ResumeTiming();
    bridge.Tick();
  }
  run.counters["allocs_per_tick"] =
      benchmark::Counter(static_cast<double>(AllocationCount() - before - sending), benchmark::Counter::kAvgIterations);
}
BENCHMARK(SharedDrainTick);

// ... beside a bare recvmsg loop asking for the same packet information on
// a socket bound the same way: what the shared drain costs above the system.
void BareRecvmsgDrain(benchmark::State& run) {
  TickRig bridge(*ParseMulticastGroup("239.255.0.1"));
  const int fd = static_cast<int>(bridge.state->Endpoint.Socket());
  const std::vector<std::uint8_t> decode = EncodeMessage(DecodeMessage());
  static std::uint8_t buffer[kMaxDatagram];
  for (auto _ : run) {
    run.PauseTiming();
    for (int i = 0; i < 81; ++i) bridge.Send(decode);
    run.ResumeTiming();
    for (;;) {
      sockaddr_in from{};
      iovec data{buffer, sizeof buffer};
      alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
      msghdr message{};
      message.msg_name = &from;
      message.msg_namelen = sizeof from;
      message.msg_iov = &data;
      message.msg_iovlen = 1;
      message.msg_control = control;
      message.msg_controllen = sizeof control;
      if (::recvmsg(fd, &message, 0) < 0) break;
      benchmark::DoNotOptimize(message.msg_controllen);
    }
  }
}
BENCHMARK(BareRecvmsgDrain);

// The tick with the upkeep due each time, beside an unsaved-contacts file of
// the given size in MB that nobody changes: the file is counted once, at the
// first upkeep, and not read again.
void UpkeepTickBesideUnsavedFile(benchmark::State& run) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("relvan-bench-unsaved-" + std::to_string(::getpid()) + ".adi");
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const std::string header = "Relvan ADIF log\n<EOH>\n";
    std::fwrite(header.data(), 1, header.size(), file);
    const std::string record = "<CALL:5>K1ABC <MODE:3>FT8 <QSO_DATE:8>20240601 <TIME_ON:6>183000 <EOR>\n";
    for (std::int64_t written = 0; written < run.range(0) * 1'000'000; written += record.size()) {
      std::fwrite(record.data(), 1, record.size(), file);
    }
    std::fclose(file);
  }
  TickRig bridge;
  bridge.state->Unsaved.Use(path);
  FakeClock clock;
  RunUpkeep(*bridge.state, bridge.host, clock.Now());  // the one count
  for (auto _ : run) {
    clock.Advance(kUpkeepInterval);
    PollTick(*bridge.state, bridge.host, bridge.window, clock);
    RunUpkeep(*bridge.state, bridge.host, bridge.state->TickTime);
  }
  run.counters["waiting"] = bridge.state->Unsaved.Waiting();
  std::filesystem::remove(path);
}
BENCHMARK(UpkeepTickBesideUnsavedFile)->Arg(0)->Arg(100);

// The one count after someone else changed a 100 MB file.
void CountOfAHundredMegabyteFile(benchmark::State& run) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("relvan-bench-count-" + std::to_string(::getpid()) + ".adi");
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const std::string record = "<CALL:5>K1ABC <MODE:3>FT8 <QSO_DATE:8>20240601 <TIME_ON:6>183000 <EOR>\n";
    for (std::int64_t written = 0; written < 100'000'000; written += record.size()) {
      std::fwrite(record.data(), 1, record.size(), file);
    }
    std::fclose(file);
  }
  for (auto _ : run) benchmark::DoNotOptimize(CountAdifRecords(path).Records);
  std::filesystem::remove(path);
}
BENCHMARK(CountOfAHundredMegabyteFile)->Unit(benchmark::kMillisecond);

}  // namespace
