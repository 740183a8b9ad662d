#include "jtdx/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string_view>
#include <vector>

#include "jtdx_messages.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Where the first `text` in the datagram ends: the end of that text field.
std::size_t EndOf(const Bytes& bytes, std::string_view text) {
  return static_cast<std::size_t>(std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) - bytes.begin()) +
         text.size();
}

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

TEST(Messages, StatusIsReadWithSignedOffsetsEverySixtyFourBitsAndTheTxModeSkippedByItsOwnLength) {
  StatusMessage sent;
  sent.DialFrequency = 10368100000;  // 3 cm band, above 2^32
  sent.Mode = "JT9+JT65";
  sent.DxCall = "K1ABC";
  sent.Report = "-5";
  sent.RxDf = -200;
  sent.TxDf = 1700;
  // In JT9+JT65 the Tx mode is "JT65" or "JT9", shorter than the mode.
  for (const char* tx_mode : {"JT65", "JT9", "JT9+JT65"}) {
    sent.TxMode = tx_mode;
    const Bytes bytes = EncodeMessage(sent);
    const jtdx::StatusMessage status = jtdx::DecodeStatus(bytes);
    EXPECT_EQ(status.DialFrequency, 10368100000u);
    EXPECT_EQ(status.Mode, "JT9+JT65");
    EXPECT_EQ(status.DxCall, "K1ABC");
    EXPECT_EQ(status.Report, "-5");
    EXPECT_EQ(status.RxDf, -200) << tx_mode;
    EXPECT_EQ(status.TxDf, 1700) << tx_mode;
  }

  // Cut after the report, as by an older JTDX: the offsets read as 0.
  const Bytes whole = EncodeMessage(sent);
  const Bytes cut_bytes(whole.begin(), whole.begin() + EndOf(whole, "-5"));
  const jtdx::StatusMessage cut = jtdx::DecodeStatus(cut_bytes);
  EXPECT_EQ(cut.Report, "-5");
  EXPECT_EQ(cut.RxDf, 0);
  EXPECT_EQ(cut.TxDf, 0);
}

TEST(Messages, QsoLoggedIsReadFieldByFieldLongTextsAndMicrowaveFrequenciesWhole) {
  QsoLoggedMessage sent;
  sent.TxFrequency = 10368101500;
  sent.Comments = std::string(300, 'c');  // longer than a length byte holds
  sent.Name = "Bob";
  sent.OperatorCall = "OP9X";
  const Bytes bytes = EncodeMessage(sent);
  const std::optional<jtdx::QsoLoggedMessage> qso = jtdx::DecodeQsoLogged(bytes);
  ASSERT_TRUE(qso);
  using namespace std::chrono;
  const UtcTime noon{sys_days{year{2024} / 6 / 1} + hours{12}};
  EXPECT_EQ(qso->TimeOff, noon + seconds{90});
  EXPECT_EQ(qso->Call, "K1ABC");
  EXPECT_EQ(qso->Grid, "FN42");
  EXPECT_EQ(qso->FrequencyHz, 10368101500u);
  EXPECT_EQ(qso->Mode, "FT8");
  EXPECT_EQ(qso->RptSent, sent.RptSent);
  EXPECT_EQ(qso->RptRcvd, sent.RptRcvd);
  EXPECT_EQ(qso->TxPower, "100");
  EXPECT_EQ(qso->Comments, sent.Comments);
  EXPECT_EQ(qso->Name, "Bob");
  EXPECT_EQ(qso->TimeOn, noon);
  EXPECT_EQ(qso->OperatorCall, "OP9X");
  EXPECT_EQ(qso->MyCall, "N0CALL");
  EXPECT_EQ(qso->MyGrid, "EN61");
}

// Older senders end the datagram after the name or a later field; a cut
// anywhere else is no contact.
TEST(Messages, CutQsoLoggedIsAContactOnlyWhenCutAfterTheNameOrALaterField) {
  QsoLoggedMessage sent;
  sent.Name = "Bob";
  sent.OperatorCall = "OP9X";
  sent.MyCall = "MY9X";
  const Bytes whole = EncodeMessage(sent);
  const std::size_t operator_end = EndOf(whole, "OP9X");
  const std::set<std::size_t> field_ends{EndOf(whole, "Bob"), operator_end - 8, operator_end, EndOf(whole, "MY9X"),
                                         whole.size()};
  for (std::size_t end = 12; end <= whole.size(); ++end) {
    const std::optional<jtdx::QsoLoggedMessage> qso = jtdx::DecodeQsoLogged(Bytes(whole.begin(), whole.begin() + end));
    ASSERT_EQ(qso.has_value(), field_ends.contains(end)) << "cut after byte " << end;
  }
}

}  // namespace
