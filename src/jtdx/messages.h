#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "jtdx/jtdx_format.h"
#include "jtdx/wire_reader.h"

// JTDX's messages as plain values, decoded once from a datagram's bytes. The
// texts are views into the datagram: valid while it is being handled.
namespace jtdx {

// What the bridge reads of a Status; a field past the datagram's end reads
// as 0 or empty, as from an older JTDX that sent fewer.
struct StatusMessage {
  std::uint64_t DialFrequency = 0;  // Hz; 0 before JTDX has read the radio
  std::string_view Mode;
  std::string_view DxCall;
  std::string_view Report;
  std::int32_t RxDf = 0;  // audio offsets from the dial, Hz
  std::int32_t TxDf = 0;
};

// A logged contact as the datagram carries it. Everything up to the name is
// always there; an older sender leaves out the fields after it, which then
// read as empty (TimeOn as none).
struct QsoLoggedMessage {
  std::optional<UtcTime> TimeOff;
  std::string_view Call;  // the whole field, zero bytes and all
  std::string_view Grid;
  std::uint64_t FrequencyHz = 0;  // the Tx frequency: dial plus Tx offset
  std::string_view Mode;
  std::string_view RptSent;
  std::string_view RptRcvd;
  std::string_view TxPower;
  std::string_view Comments;
  std::string_view Name;
  std::optional<UtcTime> TimeOn;
  std::string_view OperatorCall;
  std::string_view MyCall;
  std::string_view MyGrid;
};

// Whether the bytes are taken as one of JTDX's datagrams: they start with the
// whole magic and hold the whole header. Anything else is no message at all.
bool IsJtdxDatagram(std::span<const std::uint8_t> datagram);

// The type of the message a datagram holds, by the type's low byte alone
// (any value: the bridge acts on the known ones); nullopt when the datagram
// is none of JTDX's. A Heartbeat, a Clear and a Close carry nothing after the
// id that the bridge reads: their type is all there is to decode.
std::optional<MessageType> MessageTypeOf(std::span<const std::uint8_t> datagram);

// The id after the header: the sending program's name ("JTDX", "WSJT-X"),
// as it sent it; empty when the datagram ends inside it.
std::string_view SenderId(std::span<const std::uint8_t> datagram);

// The decoders of the messages with fields, each given a datagram with a
// whole header. A Status's fields past the datagram's end read as 0 or empty.
StatusMessage DecodeStatus(std::span<const std::uint8_t> datagram);
// Empty when the datagram ends inside a field, or before the name's end:
// such a QSO Logged is no contact.
[[nodiscard]] std::optional<QsoLoggedMessage> DecodeQsoLogged(std::span<const std::uint8_t> datagram);

// The reply to an early Heartbeat: JTDX's magic alone, which JTDX drops
// silently. It goes only to a datagram with a whole header that starts with
// the magic and a schema number whose first byte is zero: JTDX answers a
// datagram shorter than the magic, without it, or with a schema number above
// 3 with a modal "Network Error" dialog in front of the operator. Size 0
// means no reply.
struct HeartbeatReply {
  std::array<std::uint8_t, kDatagramMagic.size()> Bytes{};
  std::size_t Size = 0;
};
HeartbeatReply MakeHeartbeatReply(std::span<const std::uint8_t> datagram);

}  // namespace jtdx
