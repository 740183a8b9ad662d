#include "jtdx/messages.h"

#include <gtest/gtest.h>

#include <vector>

#include "jtdx_messages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Messages, OnlyDatagramsWithTheMagicAndAWholeHeaderAreJtdxs) {
  const Bytes status = EncodeMessage(StatusMessage());
  auto with_start = [&](Bytes start) {
    Bytes bytes = status;
    std::copy(start.begin(), start.end(), bytes.begin());
    return bytes;
  };
  const std::pair<Bytes, bool> cases[] = {
      {status, true},
      {with_start({0xAD, 0xBC, 0xCB, 0xDA, 0x01}), true},  // the schema is not looked at
      {with_start({0x01, 0x02, 0x03, 0xDA}), false},
      {with_start({0xDA, 0x00, 0x00, 0x00}), false},
      {{0xDA, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6}, false},  // once taken as Close
      {Bytes(status.begin(), status.begin() + 11), false},
      {{0xAD, 0xBC, 0xCB, 0xDA}, false},
      {{}, false},
  };
  for (const auto& [bytes, accepted] : cases) {
    EXPECT_EQ(jtdx::MessageTypeOf(bytes).has_value(), accepted) << ::testing::PrintToString(bytes);
  }
}

TEST(Messages, HeartbeatReplyIsTheMagicAloneAndNothingThatWouldUpsetJtdx) {
  const jtdx::HeartbeatReply reply = jtdx::MakeHeartbeatReply(EncodeMessage(HeartbeatMessage()));
  ASSERT_EQ(reply.Size, 4u);
  EXPECT_EQ(Bytes(reply.Bytes.begin(), reply.Bytes.end()), (Bytes{0xAD, 0xBC, 0xCB, 0xDA}));

  // JTDX shows a modal "Network Error" for fewer than 4 bytes, a wrong
  // magic, or a schema above 3: such copies are not sent at all.
  const Bytes cases[] = {
      {0x01, 0x02, 0x03, 0xDA, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00},  // no magic
      {0xAD, 0xBC, 0xCB, 0xDA, 0x01, 0x02, 0x03, 0xDA, 0x00, 0x00, 0x00, 0x00},  // schema 0x010203DA
      {0xAD, 0xBC, 0xCB, 0xDA, 0x01, 0xDA},                                      // a cut schema
      {0xAD, 0xBC, 0xCB, 0xDA},  // the magic alone: our own reply come back
  };
  for (const auto& bytes : cases)
    EXPECT_EQ(jtdx::MakeHeartbeatReply(bytes).Size, 0u) << ::testing::PrintToString(bytes);
}

}  // namespace
