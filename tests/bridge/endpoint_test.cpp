#include "bridge/endpoint.h"

#include <gtest/gtest.h>

#include <memory>

#include "datagram_writer.h"
#include "socket_info.h"
#include "bridge/socket_ops.h"
#include "udp_peer.h"

namespace {

class Endpoint : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(StartSockets()); }
  void TearDown() override { CloseEndpoint(*endpoint); }

  // A port nothing holds right now: the one the system hands out next.
  static std::uint16_t FreePort() { return UdpPeer().Port(); }

  bool Open(int port) {
    endpoint->Port = port;
    return OpenEndpoint(*endpoint, nullptr) == EndpointStatus::Open;
  }

  std::unique_ptr<UdpEndpoint> endpoint = std::make_unique<UdpEndpoint>();
};

TEST_F(Endpoint, ReceivesWholeDatagramsAndRepliesToTheSendersPort) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  EXPECT_TRUE(endpoint->Bound);
  EXPECT_EQ(endpoint->BindAddress.Ip, kLoopbackIp);
  EXPECT_EQ(endpoint->BindAddress.Port, port);

  UdpPeer jtdx;
  const auto datagram = DatagramWriter::Header(5).Utf8(std::string(1000, 'c')).Bytes();
  jtdx.SendTo(port, datagram);
  ASSERT_TRUE(ReceiveSoon(*endpoint));
  ASSERT_EQ(endpoint->RecvLength, datagram.size());
  EXPECT_TRUE(std::equal(datagram.begin(), datagram.end(), endpoint->RecvBuffer.begin()));
  EXPECT_EQ(endpoint->LastSender.Port, jtdx.Port());

  const std::vector<std::uint8_t> reply = {0xAD, 0xBC, 0xCB, 0xDA};
  EXPECT_TRUE(SendToPeer(*endpoint, reply.data(), reply.size()));
  EXPECT_EQ(jtdx.Receive(), reply);

  // A new socket has heard from nobody yet.
  ASSERT_TRUE(Open(port));
  EXPECT_EQ(endpoint->LastSender.Port, 0);
}

TEST_F(Endpoint, NothingWaitingKeepsThePreviousDatagram) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  UdpPeer jtdx;
  jtdx.SendTo(port, {0xAD, 0xBC, 0xCB, 0xDA, 0, 0, 0, 2});
  ASSERT_TRUE(ReceiveSoon(*endpoint));
  EXPECT_FALSE(ReceiveDatagram(*endpoint));  // returns at once: the socket does not block
  EXPECT_EQ(endpoint->RecvLength, 8u);
  EXPECT_EQ(endpoint->RecvBuffer[3], 0xDA);
  EXPECT_EQ(endpoint->LastSender.Port, jtdx.Port());
}

TEST_F(Endpoint, BurstIsTakenOneDatagramPerReceiveInOrder) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  UdpPeer jtdx;
  for (std::uint8_t i = 1; i <= 5; ++i) jtdx.SendTo(port, {i, i, i});
  for (std::uint8_t i = 1; i <= 5; ++i) {
    ASSERT_TRUE(ReceiveSoon(*endpoint));
    EXPECT_EQ(endpoint->RecvLength, 3u);
    EXPECT_EQ(endpoint->RecvBuffer[0], i);
  }
}

TEST_F(Endpoint, PortHeldByAnotherSocketIsReportedAndNothingElseBreaks) {
  UdpPeer other_program;
  ASSERT_TRUE(other_program.Bound());
  EXPECT_TRUE(Open(other_program.Port()));
  EXPECT_FALSE(endpoint->Bound);
  EXPECT_FALSE(ReceiveDatagram(*endpoint));

  // A free port afterwards binds again; the old socket is gone, not leaked.
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  EXPECT_TRUE(endpoint->Bound);
}

TEST_F(Endpoint, IsBoundForItselfAlone) {
  ASSERT_TRUE(Open(FreePort()));
  EXPECT_TRUE(BoundForItselfAlone(endpoint->Socket));
}

TEST_F(Endpoint, SharedWithAGroupItsPortTakesAnotherReader) {
  for (const char* group : {"239.255.0.1", "224.0.0.1"}) EXPECT_TRUE(ParseMulticastGroup(group)) << group;
  for (const char* text : {"", "223.255.255.255", "240.0.0.1", "239.255.0", "239.255.0.1.", "239.255.0.256",
                           "239.255.0.0001", "239.255.+0.1", "localhost"}) {
    EXPECT_FALSE(ParseMulticastGroup(text)) << text;
  }
  endpoint->Group = *ParseMulticastGroup("239.255.0.1");
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  EXPECT_TRUE(endpoint->Bound);
  EXPECT_TRUE(SharesItsPortOnAllAddresses(endpoint->Socket));
  EXPECT_GE(endpoint->LocalIpCount, 1u);  // loopback at least

  const SocketHandle other_reader = CreateUdpSocket();
  EXPECT_EQ(BindShared(other_reader, port), BindResult::Bound);
  CloseSocket(other_reader);
}

TEST_F(Endpoint, ReopeningReleasesThePortOfTheOpenEndpoint) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  ASSERT_TRUE(Open(port));  // a second socket would not get the port
  EXPECT_TRUE(endpoint->Bound);
}

TEST_F(Endpoint, CloseTwiceAndUseAfterClose) {
  ASSERT_TRUE(Open(FreePort()));
  CloseEndpoint(*endpoint);
  EXPECT_EQ(endpoint->Socket, kInvalidSocket);
  EXPECT_FALSE(endpoint->Bound);
  CloseEndpoint(*endpoint);
  EXPECT_EQ(endpoint->Socket, kInvalidSocket);
  EXPECT_FALSE(ReceiveDatagram(*endpoint));
  const std::uint8_t byte = 1;
  EXPECT_FALSE(SendToPeer(*endpoint, &byte, 1));
}

TEST_F(Endpoint, CallerStepRunsAfterTheAddressIsBuiltAndBeforeTheBind) {
  const std::uint16_t port = FreePort();
  endpoint->Port = port;
  bool bound_when_step_ran = true;
  ASSERT_EQ(OpenEndpoint(*endpoint,
                         [&] {
                           EXPECT_EQ(endpoint->BindAddress.Port, port);
                           bound_when_step_ran = BoundPort(endpoint->Socket).value_or(0) != 0;
                         }),
            EndpointStatus::Open);
  EXPECT_FALSE(bound_when_step_ran);
}

}  // namespace
