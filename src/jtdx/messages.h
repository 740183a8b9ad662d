#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "jtdx/jtdx_format.h"
#include "jtdx/wire_reader.h"

// JTDX's messages as plain values, decoded once from a datagram's bytes. The
// texts are views into the datagram: valid while it is being handled.
namespace jtdx {

// Heartbeat, Clear and Close: nothing after the id that the bridge reads.
struct Heartbeat {};
struct Clear {};
struct Close {};

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
  std::optional<Time> TimeOff;
  std::string_view Call;  // the whole field, zero bytes and all
  std::string_view Grid;
  std::uint64_t FrequencyHz = 0;  // the Tx frequency: dial plus Tx offset
  std::string_view Mode;
  std::string_view RptSent;
  std::string_view RptRcvd;
  std::string_view TxPower;
  std::string_view Comments;
  std::string_view Name;
  std::optional<Time> TimeOn;
  std::string_view OperatorCall;
  std::string_view MyCall;
  std::string_view MyGrid;
};

// A message the bridge does not act on, and why: another type (Decode and
// the rest), or a QSO Logged that ends inside a field.
struct Ignored {
  std::string_view Why;
};

using Message = std::variant<Ignored, Heartbeat, StatusMessage, Clear, QsoLoggedMessage, Close>;

// Whether the bytes are taken as one of JTDX's datagrams: they start with the
// whole magic and hold the whole header. Anything else is no message at all.
bool IsJtdxDatagram(std::span<const std::uint8_t> datagram);

// The message a datagram holds; nullopt when it is none of JTDX's. Only the
// type's low byte counts.
std::optional<Message> Decode(std::span<const std::uint8_t> datagram);

// The decoders, each given a datagram with a whole header.
StatusMessage DecodeStatus(std::span<const std::uint8_t> datagram);
// Empty when the datagram ends inside a field, or before the name's end.
std::optional<QsoLoggedMessage> DecodeQsoLogged(std::span<const std::uint8_t> datagram);

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
