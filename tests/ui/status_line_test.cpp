#include "ui/status_line.h"

#include <gtest/gtest.h>

#include <chrono>

#include "fake_clock.h"

namespace {

// From the least to the most pressing, each fact in turn takes the line.
TEST(StatusLine, SaysTheFirstThatHoldsAndAlwaysFits) {
  using namespace std::chrono;
  BridgeFacts facts;
  facts.Bound = facts.HostAttached = true;
  const FakeClock clock;
  facts.Now = clock.Now();
  std::vector<std::string> said;
  auto say = [&] {
    said.push_back(texts::StatusLine(facts));
    EXPECT_LE(texts::CharacterCount(said.back()), texts::kStatusLineMax) << said.back();
  };

  say();
  facts.LastSavedCall = "K1ABC";
  facts.LastSavedAt = clock.Now() - minutes{9};
  facts.SavedCount = 3;
  say();
  facts.Now += hours{6};  // past 00:00 UTC: "today" would be untrue
  say();
  facts.Now = clock.Now();
  facts.LastSavedCall = "VP2E/K1ABCDEF/QRP";  // too long for the count
  say();
  facts.JtdxClosed = true;
  facts.JtdxClosedAt = clock.Now();
  say();
  facts.ClosedSender = "ЖЖЖЖЖЖЖЖЖЖЖЖ";  // a sender's longest name, 24 bytes
  say();
  facts.HostAttached = false;
  say();
  facts.HostOutage = true;
  say();
  facts.UnsavedWaiting = 1;
  say();
  facts.UnsavedWaiting = 12;
  say();
  facts.SettingsUnreadable = true;
  say();
  facts.UnsavedTakesContacts = false;
  say();
  facts.Bound = false;
  say();
  facts.PortReserved = true;
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
  BridgeFacts facts;
  facts.Bound = facts.HostAttached = true;
  facts.Group = 0xEFFF0001;
  EXPECT_EQ(texts::StatusLine(facts), "Listening on 239.255.0.1:2237");
  facts.Refused = 3;
  EXPECT_EQ(texts::StatusLine(facts), "On 239.255.0.1:2237; 3 refused");
  facts.Group = 0xEFFFFFFF;
  facts.Port = 65535;
  facts.Refused = 4000000000;
  EXPECT_EQ(texts::StatusLine(facts), "On port 65535; 4000000000 refused");
  facts.Group = 0;
  facts.UdpGroupInvalid = true;
  EXPECT_EQ(texts::StatusLine(facts), "UDP_Group is not a multicast address");
}

}  // namespace
