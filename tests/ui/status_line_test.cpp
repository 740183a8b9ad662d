#include "ui/status_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "fake_clock.h"

namespace {

// From the least to the most pressing, each fact in turn takes the line.
TEST(StatusLine, SaysTheFirstThatHoldsAndAlwaysFits) {
  using namespace std::chrono;
  const auto state = std::make_unique<BridgeState>();
  state->Endpoint.Bound = true;
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
  state->Endpoint.Bound = false;
  say();
  state->Endpoint.PortReserved = true;
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
  const auto state = std::make_unique<BridgeState>();
  state->Endpoint.Bound = true;
  state->Endpoint.Group = 0xEFFF0001;
  EXPECT_EQ(texts::StatusLine(*state, true), "Listening on 239.255.0.1:2237");
  state->Endpoint.Refused = 3;
  EXPECT_EQ(texts::StatusLine(*state, true), "On 239.255.0.1:2237; 3 refused");
  state->Endpoint.Group = 0xEFFFFFFF;
  state->Endpoint.Port = 65535;
  state->Endpoint.Refused = 4000000000;
  EXPECT_EQ(texts::StatusLine(*state, true), "On port 65535; 4000000000 refused");
  state->Endpoint.Group = 0;
  state->Told.UdpGroupInvalid = true;
  EXPECT_EQ(texts::StatusLine(*state, true), "UDP_Group is not a multicast address");
}

}  // namespace
