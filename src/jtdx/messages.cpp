#include "jtdx/messages.h"

#include <algorithm>

namespace jtdx {

namespace {

constexpr std::size_t kTypeByte = 11;  // the low byte of the big-endian type

// A reader past the header and the id, where every message's own fields start.
WireReader FieldsOf(std::span<const std::uint8_t> datagram) {
  WireReader reader(datagram, kHeaderSize);
  reader.Utf8();  // id
  return reader;
}

}  // namespace

bool IsJtdxDatagram(std::span<const std::uint8_t> datagram) {
  return datagram.size() >= kHeaderSize && std::equal(kDatagramMagic.begin(), kDatagramMagic.end(), datagram.begin());
}

std::optional<MessageType> MessageTypeOf(std::span<const std::uint8_t> datagram) {
  if (!IsJtdxDatagram(datagram)) return std::nullopt;
  return static_cast<MessageType>(datagram[kTypeByte]);
}

std::string_view SenderId(std::span<const std::uint8_t> datagram) {
  WireReader reader(datagram, kHeaderSize);
  const std::string_view id = reader.Utf8();
  return reader.Overran() ? std::string_view() : id;
}

StatusMessage DecodeStatus(std::span<const std::uint8_t> datagram) {
  WireReader reader = FieldsOf(datagram);
  StatusMessage status;
  status.DialFrequency = reader.U64();
  status.Mode = reader.Utf8();
  status.DxCall = reader.Utf8();
  status.Report = reader.Utf8();
  // The Tx mode is skipped by its own length (it differs from the mode in
  // JT9+JT65), then the Tx enabled, transmitting and decoding flags.
  reader.Utf8();
  reader.Skip(3);
  status.RxDf = static_cast<std::int32_t>(reader.U32());
  status.TxDf = static_cast<std::int32_t>(reader.U32());
  return status;
}

std::optional<QsoLoggedMessage> DecodeQsoLogged(std::span<const std::uint8_t> datagram) {
  // Made in place and returned as it is: the value is large.
  std::optional<QsoLoggedMessage> result(std::in_place);
  QsoLoggedMessage& qso = *result;
  WireReader reader = FieldsOf(datagram);
  qso.TimeOff = reader.DateTime();
  qso.Call = reader.Utf8();
  qso.Grid = reader.Utf8();
  qso.FrequencyHz = reader.U64();
  qso.Mode = reader.Utf8();
  qso.RptSent = reader.Utf8();
  qso.RptRcvd = reader.Utf8();
  qso.TxPower = reader.Utf8();
  qso.Comments = reader.Utf8();
  qso.Name = reader.Utf8();
  // Older senders end the datagram after the name, or after any later field.
  if (!reader.Overran()) {
    if (!reader.AtEnd()) qso.TimeOn = reader.DateTime();
    if (!reader.AtEnd()) qso.OperatorCall = reader.Utf8();
    if (!reader.AtEnd()) qso.MyCall = reader.Utf8();
    if (!reader.AtEnd()) qso.MyGrid = reader.Utf8();
  }
  if (reader.Overran()) result.reset();
  return result;
}

HeartbeatReply MakeHeartbeatReply(std::span<const std::uint8_t> datagram) {
  HeartbeatReply reply;
  // A datagram without a whole header is no Heartbeat from JTDX; our own
  // four-byte reply is such a datagram, and must never be answered.
  const std::size_t size = kDatagramMagic.size();
  if (!IsJtdxDatagram(datagram) || datagram[size] != 0) return reply;
  std::copy_n(datagram.begin(), size, reply.Bytes.begin());
  reply.Size = size;
  return reply;
}

}  // namespace jtdx
