#include "jtdx/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string_view>
#include <tuple>
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
    EXPECT_EQ(std::tie(status.Mode, status.DxCall, status.Report), std::make_tuple("JT9+JT65", "K1ABC", "-5"));
    EXPECT_EQ(std::tie(status.RxDf, status.TxDf), std::make_tuple(-200, 1700)) << tx_mode;
  }

  // Cut after the report, as by an older JTDX: the offsets read as 0.
  const Bytes whole = EncodeMessage(sent);
  const Bytes cut_bytes(whole.begin(), whole.begin() + EndOf(whole, "-5"));
  const jtdx::StatusMessage cut = jtdx::DecodeStatus(cut_bytes);
  EXPECT_EQ(std::tie(cut.Report, cut.RxDf, cut.TxDf), std::make_tuple("-5", 0, 0));
}

TEST(Messages, QsoLoggedIsReadFieldByFieldLongTextsAndMicrowaveFrequenciesWhole) {
  QsoLoggedMessage sent;
  sent.TxFrequency = 10368101500;
  sent.RptRcvd = "-12";
  sent.Comments = std::string(300, 'c');  // longer than a length byte holds
  sent.Name = "Bob";
  sent.OperatorCall = "OP9X";
  const Bytes bytes = EncodeMessage(sent);
  const std::optional<jtdx::QsoLoggedMessage> qso = jtdx::DecodeQsoLogged(bytes);
  ASSERT_TRUE(qso);
  using namespace std::chrono;
  const UtcTime noon{sys_days{year{2024} / 6 / 1} + hours{12}};
  EXPECT_EQ(std::tie(qso->TimeOff, qso->TimeOn), std::make_tuple(noon + seconds{90}, noon));
  EXPECT_EQ(std::tie(qso->Call, qso->Grid, qso->Mode, qso->RptSent, qso->RptRcvd, qso->TxPower, qso->Name),
            std::make_tuple("K1ABC", "FN42", "FT8", "-10", "-12", "100", "Bob"));
  EXPECT_EQ(std::tie(qso->OperatorCall, qso->MyCall, qso->MyGrid), std::make_tuple("OP9X", "N0CALL", "EN61"));
  EXPECT_EQ(qso->FrequencyHz, 10368101500u);
  EXPECT_EQ(qso->Comments, sent.Comments);
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
