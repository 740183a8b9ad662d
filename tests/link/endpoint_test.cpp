#include "link/endpoint.h"

#include <gtest/gtest.h>

#include <memory>

#include "datagram_writer.h"
#include "link/field_readers.h"
#include "socket_info.h"
#include "link/socket_ops.h"
#include "udp_peer.h"

namespace {

class Endpoint : public ::testing::Test {
 protected:
  void SetUp() override { StartSockets(); }
  void TearDown() override { CloseEndpoint(*state); }

  // A port nothing holds right now: the one the system hands out next.
  static std::uint16_t FreePort() { return UdpPeer().Port(); }

  bool Open(int port) {
    state->UdpPort = port;
    return OpenEndpoint(*state, nullptr) == EndpointStatus::Open;
  }

  std::unique_ptr<BridgeState> state = std::make_unique<BridgeState>();
};

TEST_F(Endpoint, ReceivesWholeDatagramsAndRepliesToTheSendersPort) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  EXPECT_TRUE(state->EndpointBound);
  EXPECT_EQ(state->BindAddress.Ip, kLoopbackIp);
  EXPECT_EQ(state->BindAddress.Port, port);

  UdpPeer jtdx;
  const auto datagram = DatagramWriter::Header(5).Utf8(std::string(1000, 'c')).Bytes();
  jtdx.SendTo(port, datagram);
  ASSERT_TRUE(ReceiveSoon(*state));
  ASSERT_EQ(state->RecvLength, datagram.size());
  EXPECT_TRUE(std::equal(datagram.begin(), datagram.end(), state->RecvBuffer.begin()));
  EXPECT_EQ(state->LastSender.Port, jtdx.Port());

  const std::vector<std::uint8_t> reply = {0xAD, 0xBC, 0xCB, 0xDA};
  SendToPeer(*state, reply.data(), reply.size());
  EXPECT_EQ(jtdx.Receive(), reply);

  // A new socket has heard from nobody yet.
  ASSERT_TRUE(Open(port));
  EXPECT_EQ(state->LastSender.Port, 0);
}

TEST_F(Endpoint, NothingWaitingKeepsThePreviousDatagram) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  UdpPeer jtdx;
  jtdx.SendTo(port, {0xAD, 0xBC, 0xCB, 0xDA, 0, 0, 0, 2});
  ASSERT_TRUE(ReceiveSoon(*state));
  EXPECT_FALSE(ReceiveDatagram(*state));  // returns at once: the socket does not block
  EXPECT_EQ(state->RecvLength, 8u);
  EXPECT_EQ(DatagramByte(*state, 3), 0xDA);
  EXPECT_EQ(state->LastSender.Port, jtdx.Port());
}

TEST_F(Endpoint, BurstIsTakenOneDatagramPerReceiveInOrder) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  UdpPeer jtdx;
  for (std::uint8_t i = 1; i <= 5; ++i) jtdx.SendTo(port, {i, i, i});
  for (std::uint8_t i = 1; i <= 5; ++i) {
    ASSERT_TRUE(ReceiveSoon(*state));
    EXPECT_EQ(state->RecvLength, 3u);
    EXPECT_EQ(state->RecvBuffer[0], i);
  }
}

TEST_F(Endpoint, PortHeldByAnotherSocketIsReportedAndNothingElseBreaks) {
  UdpPeer other_program;
  ASSERT_TRUE(other_program.Bound());
  EXPECT_TRUE(Open(other_program.Port()));
  EXPECT_FALSE(state->EndpointBound);
  EXPECT_FALSE(ReceiveDatagram(*state));

  // A free port afterwards binds again; the old socket is gone, not leaked.
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  EXPECT_TRUE(state->EndpointBound);
}

TEST_F(Endpoint, IsBoundForItselfAlone) {
  ASSERT_TRUE(Open(FreePort()));
  EXPECT_TRUE(BoundForItselfAlone(state->UdpSocket));
}

TEST_F(Endpoint, ReopeningReleasesThePortOfTheOpenEndpoint) {
  const std::uint16_t port = FreePort();
  ASSERT_TRUE(Open(port));
  ASSERT_TRUE(Open(port));  // a second socket would not get the port
  EXPECT_TRUE(state->EndpointBound);
}

TEST_F(Endpoint, CloseTwiceAndUseAfterClose) {
  ASSERT_TRUE(Open(FreePort()));
  CloseEndpoint(*state);
  EXPECT_EQ(state->UdpSocket, kInvalidSocket);
  EXPECT_FALSE(state->EndpointBound);
  CloseEndpoint(*state);
  EXPECT_EQ(state->UdpSocket, kInvalidSocket);
  EXPECT_FALSE(ReceiveDatagram(*state));
  const std::uint8_t byte = 1;
  SendToPeer(*state, &byte, 1);  // ignored
}

TEST_F(Endpoint, CallerStepRunsAfterTheAddressIsBuiltAndBeforeTheBind) {
  const std::uint16_t port = FreePort();
  state->UdpPort = port;
  bool bound_when_step_ran = true;
  ASSERT_EQ(OpenEndpoint(*state,
                         [&] {
                           EXPECT_EQ(state->BindAddress.Port, port);
                           bound_when_step_ran = BoundPort(state->UdpSocket).value_or(0) != 0;
                         }),
            EndpointStatus::Open);
  EXPECT_FALSE(bound_when_step_ran);
}

}  // namespace
