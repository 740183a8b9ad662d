#include "bridge/endpoint.h"

#include <gtest/gtest.h>

#include <memory>

#include "datagram_writer.h"
#include "socket_info.h"
#include "udp_peer.h"

namespace {

// The endpoint on the system's sockets, on loopback.
class EndpointOnLoopback : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(net.StartSocketLibrary()); }
  void TearDown() override { endpoint.reset(); }

  // A port nothing holds right now: the one the system hands out next.
  static std::uint16_t FreePort() { return UdpPeer().Port(); }

  bool Open(int port) { return endpoint->Open(port, nullptr) == EndpointStatus::Open; }

  SystemNet net;
  std::unique_ptr<Endpoint> endpoint = std::make_unique<Endpoint>(net);
};

TEST_F(EndpointOnLoopback, ReceivesWholeDatagramsAndRepliesToTheSendersPort) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  EXPECT_TRUE(endpoint->Bound());
  const std::optional<PeerAddress> bound = BoundAddress(endpoint->Socket());
  ASSERT_TRUE(bound);
  EXPECT_EQ(bound->Ip, kLoopbackIp);
  EXPECT_EQ(bound->Port, port);

  UdpPeer jtdx;
  const auto datagram = DatagramWriter::Header(5).Utf8(std::string(1000, 'c')).Bytes();
  jtdx.SendTo(port, datagram);
  ASSERT_TRUE(ReceiveSoon(*endpoint));
  EXPECT_TRUE(std::ranges::equal(endpoint->Datagram(), datagram));
  EXPECT_EQ(endpoint->LastSender().Port, jtdx.Port());

  const std::vector<std::uint8_t> reply = {0xAD, 0xBC, 0xCB, 0xDA};
  EXPECT_TRUE(endpoint->SendToPeer(reply.data(), reply.size()));
  EXPECT_EQ(jtdx.Receive(), reply);

  // A new socket has heard from nobody yet.
  ASSERT_TRUE(Open(port));
  EXPECT_EQ(endpoint->LastSender().Port, 0);
}

TEST_F(EndpointOnLoopback, NothingWaitingKeepsThePreviousDatagram) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  UdpPeer jtdx;
  jtdx.SendTo(port, {0xAD, 0xBC, 0xCB, 0xDA, 0, 0, 0, 2});
  ASSERT_TRUE(ReceiveSoon(*endpoint));
  EXPECT_FALSE(endpoint->Receive());  // returns at once: the socket does not block
  EXPECT_EQ(endpoint->Datagram().size(), 8u);
  EXPECT_EQ(endpoint->Datagram()[3], 0xDA);
  EXPECT_EQ(endpoint->LastSender().Port, jtdx.Port());
}

TEST_F(EndpointOnLoopback, BurstIsTakenOneDatagramPerReceiveInOrder) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  UdpPeer jtdx;
  for (std::uint8_t i = 1; i <= 5; ++i) jtdx.SendTo(port, {i, i, i});
  for (std::uint8_t i = 1; i <= 5; ++i) {
    ASSERT_TRUE(ReceiveSoon(*endpoint));
    EXPECT_EQ(endpoint->Datagram().size(), 3u);
    EXPECT_EQ(endpoint->Datagram()[0], i);
  }
}

TEST_F(EndpointOnLoopback, PortHeldByAnotherSocketIsReportedAndNothingElseBreaks) {
  UdpPeer other_program;
  ASSERT_TRUE(other_program.Bound());
  EXPECT_TRUE(Open(other_program.Port()));
  EXPECT_FALSE(endpoint->Bound());
  EXPECT_FALSE(endpoint->Receive());

  // A free port afterwards binds again; the old socket is gone, not leaked.
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  EXPECT_TRUE(endpoint->Bound());
}

TEST_F(EndpointOnLoopback, IsBoundForItselfAlone) {
  ASSERT_TRUE(Open(FreePort()));
  EXPECT_TRUE(BoundForItselfAlone(endpoint->Socket()));
}

TEST_F(EndpointOnLoopback, SharedWithAGroupItsPortTakesAnotherReader) {
  for (const char* group : {"239.255.0.1", "224.0.0.1"}) EXPECT_TRUE(ParseMulticastGroup(group)) << group;
  for (const char* text : {"", "223.255.255.255", "240.0.0.1", "239.255.0", "239.255.0.1.", "239.255.0.256",
                           "239.255.0.0001", "239.255.+0.1", "localhost"}) {
    EXPECT_FALSE(ParseMulticastGroup(text)) << text;
  }
  endpoint->SetGroup(*ParseMulticastGroup("239.255.0.1"));
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  EXPECT_TRUE(endpoint->Bound());
  EXPECT_TRUE(SharesItsPortOnAllAddresses(endpoint->Socket()));

  const SocketHandle other_reader = net.CreateUdpSocket();
  EXPECT_EQ(net.BindShared(other_reader, port), BindResult::Bound);
  net.CloseSocket(other_reader);
}

TEST_F(EndpointOnLoopback, ReopeningReleasesThePortOfTheOpenEndpoint) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  ASSERT_TRUE(Open(port));  // a second socket would not get the port
  EXPECT_TRUE(endpoint->Bound());
}

TEST_F(EndpointOnLoopback, CloseTwiceAndUseAfterClose) {
  ASSERT_TRUE(Open(FreePort()));
  endpoint->Close();
  EXPECT_EQ(endpoint->Socket(), kInvalidSocket);
  EXPECT_FALSE(endpoint->Bound());
  endpoint->Close();
  EXPECT_EQ(endpoint->Socket(), kInvalidSocket);
  EXPECT_FALSE(endpoint->Receive());
  const std::uint8_t byte = 1;
  EXPECT_FALSE(endpoint->SendToPeer(&byte, 1));
}

TEST_F(EndpointOnLoopback, CallerStepRunsBetweenTheSocketAndTheBind) {
  bool unbound_socket_when_step_ran = false;
  ASSERT_EQ(endpoint->Open(FreePort(),
                           [&] {
                             unbound_socket_when_step_ran =
                                 endpoint->Socket() != kInvalidSocket &&
                                 BoundAddress(endpoint->Socket()).value_or(PeerAddress{}).Port == 0;
                           }),
            EndpointStatus::Open);
  EXPECT_TRUE(unbound_socket_when_step_ran);
}

}  // namespace
