#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "fake_clock.h"
#include "fake_main_window.h"
#include "host_transcripts.h"
#include "host/host_socket-posix.h"
#include "host/host_socket_path-posix.h"
#include "host/platform_host.h"
#include "host/transcript.h"
#include "jtdx_messages.h"
#include "bridge/endpoint.h"
#include "bridge/poll_tick.h"
#include "read_adif_log.h"
#include "sim_process-posix.h"
#include "socket_info.h"
#include "socket_wait.h"
#include "temp_dir.h"
#include "udp_peer.h"

namespace {

using Lines = std::vector<std::string>;

void Append(Lines& lines, const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

// The transcript file tolm-sim writes for these calls.
std::string TranscriptText(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

const std::string kCyrillicName = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD";  // "Ivan"

// A UTC time as an ADIF record's date and time give it, run together.
std::string AdifUtc(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[16];
  std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &utc);
  return text;
}

const std::string kAwkwardText =
    "tab\there, line\nend\r, back\\slash, \"quoted\", \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";

// Points XDG_RUNTIME_DIR at a fresh directory for the life of the test, so
// that tolm-sim and the binding meet there and nowhere else.
class HostSocket : public ::testing::Test {
 protected:
  HostSocket() {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) saved_ = old;
    setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
  }
  ~HostSocket() override {
    if (saved_) {
      setenv("XDG_RUNTIME_DIR", saved_->c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }

  std::string SocketPath() const { return (runtime_.Path() / "Tolm2.Application.sock").string(); }

  std::unique_ptr<SimProcess> StartSim(std::vector<std::string> args = {}) {
    auto sim = std::make_unique<SimProcess>(work_.Path(), std::move(args));
    EXPECT_TRUE(sim->WaitUntilServing(SocketPath())) << sim->Stderr();
    return sim;
  }

  TempDir runtime_;
  TempDir work_;
  std::optional<std::string> saved_;
};

TEST_F(HostSocket, AddressFollowsXdgRuntimeDir) {
  EXPECT_EQ(DefaultHostSocketPath(), SocketPath());
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(DefaultHostSocketPath(), "/tmp/Tolm2.Application-" + std::to_string(getuid()) + ".sock");
  setenv("XDG_RUNTIME_DIR", "", 1);
  EXPECT_EQ(DefaultHostSocketPath(), "/tmp/Tolm2.Application-" + std::to_string(getuid()) + ".sock");
}

TEST_F(HostSocket, DetachedUntilTheHostStartsThenEveryCallArrives) {
  const auto link = MakePlatformHostLink();
  link->AttachHost();
  EXPECT_FALSE(link->IsAttached());
  // Nobody listens: each operation returns at once and nothing is thrown.
  link->ExecMacro("<MODEADD:FT8>");
  link->SetLogField(LogField::Call, "K1ABC");
  link->TxFrequency(14075500.0);
  link->RxFrequency(14075200.0);

  auto sim = StartSim();
  link->AttachHost();
  ASSERT_TRUE(link->IsAttached());
  link->ExecMacro("<MODEADD:FT4>");
  link->SetLogField(LogField::Comments, kAwkwardText + "\x01");
  link->SetLogField(LogField::Name, "");
  link->TxFrequency(10368101500.0);
  link->RxFrequency(7047500.0);
  link->AttachHost();  // attached: no second connection
  link->ExecMacro("<MODE:CW>");

  const std::string expected =
      "ExecMacro \"<MODEADD:FT4>\"\n"
      "SetLogField 4 \"tab\\there, line\\nend\\r, back\\\\slash, \\\"quoted\\\", "
      "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\\x01\"\n"
      "SetLogField 1 \"\"\nTxFrequency 10368101500\nRxFrequency 7047500\n"
      "ExecMacro \"<MODE:CW>\"\n";
  EXPECT_EQ(sim->Transcript(), expected);
  EXPECT_EQ(sim->Stdout(), expected);

  // A clean stop takes the socket file away with it.
  const int status = sim->Stop(SIGTERM);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << "\n" << sim->Stderr();
  EXPECT_FALSE(std::filesystem::exists(SocketPath()));
}

TEST_F(HostSocket, LoggedContactReachesTheAdifLogExactly) {
  auto sim = StartSim();
  SocketHostLink link;
  link.AttachHost();
  ASSERT_TRUE(link.IsAttached());
  link.ExecMacro("<MODEADD:FT8>");
  link.SetLogField(LogField::Call, "UA9XYZ");
  link.SetLogField(LogField::Grid, "MO06");
  link.SetLogField(LogField::Name, kCyrillicName);
  link.SetLogField(LogField::RptSent, "-10");
  link.SetLogField(LogField::RptRcvd, "-3");
  link.SetLogField(LogField::Comments, kAwkwardText);
  link.ExecMacro("<CURSOR:TX>");
  const std::string before = AdifUtc(std::chrono::system_clock::now());
  link.ExecMacro("<FIXSTARTTIME>");
  link.TxFrequency(14075500.0);
  link.ExecMacro("<SAVEQSO>");
  const std::string after = AdifUtc(std::chrono::system_clock::now());

  const AdifFile log = ReadAdifLog(sim->AdifPath());
  EXPECT_EQ(log.Preamble, "tolm-sim ADIF log\n");
  EXPECT_EQ(log.Header, (AdifFields{{"ADIF_VER", "3.1.4"}, {"PROGRAMID", "tolm-sim"}}));
  ASSERT_EQ(log.Records.size(), 1u);
  AdifFields record = log.Records[0];
  // Started at the fixed start time, ended at the save, both in UTC (the
  // tests' zone is five and a half hours away).
  const std::string on = record["QSO_DATE"] + record["TIME_ON"];
  const std::string off = record["QSO_DATE_OFF"] + record["TIME_OFF"];
  EXPECT_LE(before, on);
  EXPECT_LE(on, off);
  EXPECT_LE(off, after);
  for (const char* time : {"QSO_DATE", "TIME_ON", "QSO_DATE_OFF", "TIME_OFF"}) record.erase(time);
  EXPECT_EQ(record, (AdifFields{{"CALL", "UA9XYZ"},
                                {"GRIDSQUARE", "MO06"},
                                {"NAME", kCyrillicName},
                                {"RST_SENT", "-10"},
                                {"RST_RCVD", "-3"},
                                {"COMMENT", kAwkwardText},
                                {"MODE", "FT8"},
                                {"FREQ", "14.075500"},
                                {"BAND", "20m"}}));
}

TEST_F(HostSocket, RefusedCallThrowsAndTheLinkCarriesOn) {
  auto sim = StartSim({"--fail-after", "2"});
  SocketHostLink link;
  link.AttachHost();
  ASSERT_TRUE(link.IsAttached());
  link.ExecMacro("<MODEADD:FT8>");
  link.SetLogField(LogField::Call, "K1ABC");
  try {
    link.ExecMacro("<SAVEQSO>");
    FAIL() << "the refused call returned";
  } catch (const HostCallError& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("ExecMacro: ")) << error.what();
    EXPECT_NE(std::string(error.what()).find("--fail-after"), std::string::npos) << error.what();
    EXPECT_FALSE(error.MayHaveRun());
  }
  // A refusal leaves the stream in step: the next call gets its own answer.
  EXPECT_THROW(link.TxFrequency(14075500.0), HostCallError);
  EXPECT_TRUE(link.IsAttached());
  // What was refused was not done: only the calls before are in the
  // transcript, and no contact was saved.
  const std::string done = "ExecMacro \"<MODEADD:FT8>\"\nSetLogField 0 \"K1ABC\"\n";
  EXPECT_EQ(sim->Transcript(), done);
  EXPECT_EQ(sim->Stdout(), done);
  EXPECT_FALSE(std::filesystem::exists(sim->AdifPath()));
}

TEST_F(HostSocket, VanishedHostMakesEveryLaterCallThrow) {
  auto sim = StartSim();
  SocketHostLink link;
  link.AttachHost();
  ASSERT_TRUE(link.IsAttached());
  link.TxFrequency(14075500.0);
  EXPECT_TRUE(link.StillThere());
  sim->Stop(SIGKILL);
  EXPECT_FALSE(link.StillThere());  // seen without a call

  EXPECT_THROW(link.RxFrequency(14075200.0), HostCallError);
  EXPECT_THROW(link.ExecMacro("<SAVEQSO>"), HostCallError);
  // No way back to detached, and no new connection to a host started later.
  EXPECT_TRUE(link.IsAttached());
  auto again = StartSim();
  link.AttachHost();
  EXPECT_THROW(link.TxFrequency(14075500.0), HostCallError);
}

TEST_F(HostSocket, HostThatNeverAnswersTimesOut) {
  // Listening, never accepting: the connect succeeds, no reply ever comes.
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, SocketPath().c_str());
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 4), 0);

  SocketHostLink link({}, std::chrono::milliseconds(50));
  link.AttachHost();
  ASSERT_TRUE(link.IsAttached());
  try {
    link.ExecMacro("<MODEADD:FT8>");
    FAIL() << "the unanswered call returned";
  } catch (const HostCallError& error) {
    EXPECT_NE(std::string(error.what()).find("no answer"), std::string::npos) << error.what();
    EXPECT_TRUE(error.MayHaveRun());  // the request went out: Tolm may be carrying it out
  }
  // The answer comes late: it must not be taken for the next call's. A
  // silent host, and one with an answer waiting, are there all the same.
  EXPECT_TRUE(link.StillThere());
  const int connection = accept(listener, nullptr, nullptr);
  ASSERT_GE(connection, 0);
  ASSERT_EQ(write(connection, "OK\n", 3), 3);
  EXPECT_TRUE(link.StillThere());
  try {
    link.ExecMacro("<MODE:CW>");
    FAIL() << "the late answer was taken for the next call's";
  } catch (const HostCallError& error) {
    EXPECT_NE(std::string(error.what()).find("lost earlier"), std::string::npos) << error.what();
    EXPECT_FALSE(error.MayHaveRun());  // never sent
  }
  close(connection);
  close(listener);
}

TEST_F(HostSocket, OnlyAStaleSocketIsTakenOver) {
  // Something that is not a socket is left alone.
  { std::ofstream(SocketPath()) << "precious"; }
  SimProcess refused(work_.Path());
  const int status = refused.Wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(FileBytes(SocketPath()), "precious");
  std::filesystem::remove(SocketPath());

  // A killed tolm-sim leaves its socket behind; the next one replaces it.
  StartSim()->Stop(SIGKILL);
  ASSERT_TRUE(std::filesystem::exists(SocketPath()));
  auto sim = StartSim();

  // While it serves, a second one does not take its place.
  TempDir other_work;
  SimProcess second(other_work.Path());
  const int second_status = second.Wait();
  EXPECT_TRUE(WIFEXITED(second_status) && WEXITSTATUS(second_status) == 1) << second.Stderr();
  EXPECT_NE(second.Stderr().find("already serves"), std::string::npos) << second.Stderr();

  SocketHostLink link;
  link.AttachHost();
  ASSERT_TRUE(link.IsAttached());
  link.ExecMacro("<MODE:SSB>");
  EXPECT_EQ(sim->Transcript(), "ExecMacro \"<MODE:SSB>\"\n");
  EXPECT_EQ(std::filesystem::status(SocketPath()).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(HostSocket, PeerOfAnotherUserIsRefused) {
  // Our own tolm-sim, as the link of another user meets it.
  auto sim = StartSim();
  SocketHostLink link({}, SocketHostLink::kCallTimeout, geteuid() + 1);
  link.AttachHost();
  EXPECT_FALSE(link.IsAttached());
  link.ExecMacro("<SAVEQSO>");  // still detached: no effect, nothing thrown
  link.AttachHost();
  EXPECT_FALSE(link.IsAttached());
  EXPECT_EQ(sim->Transcript(), "");
}

// The bridge against tolm-sim in a busy band: JTDX sends a Decode for every
// line it decodes, tens in each 15 s period and far more in a contest. The
// datagrams that matter among them reach Tolm in their order, all in the
// tick that finds them (the time a tick may take them is not spent here:
// the clock stands still).
TEST_F(HostSocket, BridgeKeepsUpWithABusyBand) {
  auto sim = StartSim();
  SocketHostLink link;
  SystemNet net;
  BridgeState state(net);
  FakeMainWindow window;
  const FakeClock clock;
  UdpPeer jtdx;
  const std::uint16_t port = UdpPeer().Port();
  ASSERT_EQ(state.Endpoint.Open(port, nullptr), EndpointStatus::Open);
  PollTick(state, link, window, clock);
  ASSERT_TRUE(link.IsAttached());

  // The whole burst waits in the receive queue before the first tick: a
  // kernel that grants less drops datagrams, which is no fault of the bridge.
  constexpr int kDecodes = 2000;
  constexpr int kBurst = kDecodes + 5;
  if (ReceiveQueueBytes(state.Endpoint.Socket()) < kBurst * 1024) {
    GTEST_SKIP() << "the system grants a receive queue of only " << ReceiveQueueBytes(state.Endpoint.Socket())
                 << " bytes";
  }
  StatusMessage calling;
  calling.DxCall = "K1ABC";
  calling.Report = "-7";
  calling.RxDf = 0;
  calling.TxDf = 1500;
  QsoLoggedMessage qso;
  qso.DxCall = "K1ABC";
  qso.Name = "Bob";
  StatusMessage next = calling;
  next.DxCall = "W9XYZ";
  next.DialFrequency = 7074000;
  for (int i = 0; i < kDecodes; ++i) jtdx.SendTo(port, EncodeMessage(DecodeMessage()));
  jtdx.SendTo(port, EncodeMessage(calling));
  jtdx.SendTo(port, EncodeMessage(qso));
  jtdx.SendTo(port, EncodeMessage(ClearMessage()));
  jtdx.SendTo(port, EncodeMessage(next));
  jtdx.SendTo(port, EncodeMessage(CloseMessage()));
  ASSERT_TRUE(WaitForDatagram(state.Endpoint.Socket()));

  PollTick(state, link, window, clock);
  Lines expected{R"(ExecMacro "<MODEADD:FT8>")", R"(SetLogField 0 "K1ABC")", R"(SetLogField 5 "-7")",
                 "TxFrequency 14075500", "RxFrequency 14074000"};
  Append(expected, QsoLoggedCalls({"K1ABC", "FN42", "Bob", "-10", "-10", "", "14075500"}));
  Append(expected, kClearCalls);
  // The next station on 40 m.
  Append(expected, {R"(SetLogField 0 "W9XYZ")", R"(SetLogField 5 "-7")", "TxFrequency 7075500", "RxFrequency 7074000"});
  EXPECT_EQ(sim->Transcript(), TranscriptText(expected));
  const AdifFile log = ReadAdifLog(sim->AdifPath());
  ASSERT_EQ(log.Records.size(), 1u);
  EXPECT_EQ(log.Records[0].at("CALL"), "K1ABC");
  EXPECT_EQ(log.Records[0].at("NAME"), "Bob");
  EXPECT_EQ(window.Shown(), (DisplayFields{"W9XYZ", "-7", "", "", " 7075.50", ""}));
  EXPECT_TRUE(state.Kept.SenderIsClosed());  // the Close came last, and ended nothing
  EXPECT_TRUE(window.TimerRunning);
}

// A Tolm that takes the first calls and refuses every one after: every
// contact of the session lands in the unsaved-contacts file, the operator
// hears of the outage once, Tolm is tried no more than once every 3 s, and
// Tolm's import takes the file back with each contact's own date and times.
TEST_F(HostSocket, RefusingTolmLosesNoContactAndItsImportTakesThemBack) {
  auto sim = StartSim({"--fail-after", "8"});
  SocketHostLink link;
  SystemNet net;
  BridgeState state(net);
  FakeMainWindow window;
  FakeClock clock;
  UdpPeer jtdx;
  state.Unsaved.Use((work_.Path() / "unsaved.adi").string());
  const std::uint16_t port = UdpPeer().Port();
  ASSERT_EQ(state.Endpoint.Open(port, nullptr), EndpointStatus::Open);
  auto arrive = [&](const std::vector<std::uint8_t>& datagram) {
    jtdx.SendTo(port, datagram);
    ASSERT_TRUE(WaitForDatagram(state.Endpoint.Socket()));
    PollTick(state, link, window, clock);
    clock.Advance(std::chrono::milliseconds(500));
  };

  const std::string stations[] = {"K1ABC", "W9XYZ", "DL2XYZ"};
  for (int i = 0; i < 3; ++i) {
    StatusMessage status;
    status.DxCall = stations[i];
    arrive(EncodeMessage(status));
    QsoLoggedMessage qso;
    qso.DxCall = stations[i];
    qso.TimeOn.MsOfDay += i * 600 * 1000;
    qso.TimeOff.MsOfDay += i * 600 * 1000;
    arrive(EncodeMessage(qso));
    std::vector<std::uint8_t> cut = EncodeMessage(qso);
    cut.resize(cut.size() / 2);
    arrive(cut);  // no contact at all
  }
  const std::string refusals = sim->Stderr();
  std::size_t refused = 0;
  for (auto at = refusals.find("refused"); at != std::string::npos; at = refusals.find("refused", at + 1)) ++refused;
  EXPECT_GE(refused, 1u);
  EXPECT_LE(refused, 2u) << refusals;  // 4.5 s of the session: the first failure, and one try 3 s later
  ASSERT_EQ(state.Notices.size(), 3u);
  for (const OperatorNotice& notice : state.Notices) {
    EXPECT_EQ(notice.What, OperatorNotice::Kind::ContactNotSaved);
    EXPECT_TRUE(notice.Kept) << notice.FileProblem;
  }
  EXPECT_EQ(state.Notices[0].HostDetail.rfind("SetLogField: ", 0), 0u) << state.Notices[0].HostDetail;
  sim->Stop(SIGTERM);

  TempDir tolm;
  SimProcess import(tolm.Path(), {"--import", state.Unsaved.Path().string()});
  ASSERT_EQ(import.Wait(), 0) << import.Stderr();
  const AdifFile log = ReadAdifLog(import.AdifPath());
  ASSERT_EQ(log.Records.size(), 3u);
  const char* const times_on[] = {"120000", "121000", "122000"};
  const char* const times_off[] = {"120130", "121130", "122130"};
  for (int i = 0; i < 3; ++i) {
    const auto& record = log.Records[static_cast<std::size_t>(i)];
    EXPECT_EQ(record.at("CALL"), stations[i]);
    EXPECT_EQ(record.at("QSO_DATE"), "20240601");
    EXPECT_EQ(record.at("TIME_ON"), times_on[i]);
    EXPECT_EQ(record.at("TIME_OFF"), times_off[i]);
    EXPECT_EQ(record.at("FREQ"), "14.075500");
  }
}

}  // namespace
