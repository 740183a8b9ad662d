#include "ui/status_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "fake_clock.h"
#include "memory_net.h"

namespace {

// From the least to the most pressing, each fact in turn takes the line.
TEST(StatusLine, SaysTheFirstThatHoldsAndAlwaysFits) {
  using namespace std::chrono;
  MemoryNet net;
  const auto state = std::make_unique<BridgeState>(net);
  const auto open = [&](BindResult bind) {
    net.Bind = bind;
    ASSERT_EQ(state->Endpoint.Open(2237, nullptr), EndpointStatus::Open);
  };
  open(BindResult::Bound);
  const FakeClock clock;
  state->TickTime = clock.Now();
  bool attached = true;
  std::vector<std::string> said;
  auto say = [&] {
    said.push_back(texts::StatusLine(*state, attached));
    EXPECT_LE(texts::CharacterCount(said.back()), texts::kStatusLineMax) << said.back();
  };

  say();
  state->Told.LastSavedCall = "K1ABC";
  state->Told.LastSavedAt = clock.Now() - minutes{9};
  state->Told.SavedCount = 3;
  say();
  state->TickTime += hours{6};  // past 00:00 UTC: "today" would be untrue
  say();
  state->TickTime = clock.Now();
  state->Told.LastSavedCall = "VP2E/K1ABCDEF/QRP";  // too long for the count
  say();
  state->Told.JtdxClosed = true;
  state->Told.JtdxClosedAt = clock.Now();
  say();
  state->Told.ClosedSender = "ЖЖЖЖЖЖЖЖЖЖЖЖ";  // a sender's longest name, 24 bytes
  say();
  attached = false;
  say();
  state->Health.Outage = true;
  say();
  state->Told.UnsavedWaiting = 1;
  say();
  state->Told.UnsavedWaiting = 12;
  say();
  state->Told.SettingsUnreadable = true;
  say();
  state->Told.SettingsWritable = false;
  say();
  open(BindResult::Held);
  say();
  open(BindResult::Reserved);
  say();
  EXPECT_EQ(said, (std::vector<std::string>{
                      "Listening on port 2237",
                      "K1ABC saved at 18:31 UTC (3 today)",
                      "K1ABC saved at 18:31 UTC",
                      "VP2E/K1ABCDEF/QRP saved at 18:31 UTC",
                      "JTDX closed at 18:40 UTC",
                      "ЖЖЖЖЖЖЖЖЖЖЖЖ closed at 18:40 UTC",
                      "Tolm is not running",
                      "Tolm is not answering",
                      "1 contact waits in Tolm_JTDX_unsaved.adi",
                      "12 contacts wait in the unsaved file",
                      "Tolm_JTDX.ini unreadable; port 2237",
                      "Settings folder cannot be written",
                      "Port 2237 is held by another program",
                      "Port 2237 is reserved by Windows",
                  }));
}

TEST(StatusLine, NamesTheSharedGroupAndWhatOtherMachinesSent) {
  MemoryNet net;
  const auto state = std::make_unique<BridgeState>(net);
  // A datagram from another machine, refused as often as the tick is handed it.
  const auto refuse = [&](int port, int count) {
    net.Sender = {0xC0000207, 50000};
    net.Arrive(port, {0xAD, 0xBC, 0xCB, 0xDA});
    ASSERT_TRUE(state->Endpoint.Receive());
    for (int n = 0; n < count; ++n) (void)state->Endpoint.SenderIsLocal({});
  };
  state->Endpoint.SetGroup(0xEFFF0001);
  ASSERT_EQ(state->Endpoint.Open(2237, nullptr), EndpointStatus::Open);
  EXPECT_EQ(texts::StatusLine(*state, true), "Listening on 239.255.0.1:2237");
  refuse(2237, 3);
  EXPECT_EQ(texts::StatusLine(*state, true), "On 239.255.0.1:2237; 3 refused");
  state->Endpoint.SetGroup(0xEFFFFFFF);
  ASSERT_EQ(state->Endpoint.Open(65535, nullptr), EndpointStatus::Open);
  refuse(65535, 999'997);
  EXPECT_EQ(texts::StatusLine(*state, true), "On port 65535; 1000000 refused");
  state->Endpoint.SetGroup(0);
  state->Told.UdpGroupInvalid = true;
  EXPECT_EQ(texts::StatusLine(*state, true), "UDP_Group is not a multicast address");
}

}  // namespace
