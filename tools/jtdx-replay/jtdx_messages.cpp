#include "jtdx_messages.h"

#include "datagram_writer.h"

namespace {

DatagramWriter Start(MessageType type, const JtdxHeader& header) {
  return DatagramWriter::Header(static_cast<std::uint32_t>(type), header.Id, header.Schema);
}

// JTDX sends an empty DX call or grid as the null string.
std::optional<std::string_view> NullWhenEmpty(const std::string& text) {
  if (text.empty()) return std::nullopt;
  return text;
}

DatagramWriter& WriteDateTime(DatagramWriter& writer, const JtdxDateTime& time) {
  return writer.DateTime(time.JulianDay, time.MsOfDay, time.TimeSpec);
}

}  // namespace

std::vector<std::uint8_t> EncodeMessage(const HeartbeatMessage& message) {
  DatagramWriter writer = Start(MessageType::Heartbeat, message.Header);
  writer.U32(message.MaxSchema).Utf8(message.Version);
  return writer.Bytes();
}

std::vector<std::uint8_t> EncodeMessage(const StatusMessage& message) {
  DatagramWriter writer = Start(MessageType::Status, message.Header);
  writer.U64(message.DialFrequency)
      .Utf8(message.Mode)
      .Utf8(NullWhenEmpty(message.DxCall))
      .Utf8(message.Report)
      .Utf8(message.TxMode.value_or(message.Mode))
      .Bool(message.TxEnabled)
      .Bool(message.Transmitting)
      .Bool(message.Decoding)
      .I32(message.RxDf)
      .I32(message.TxDf)
      .Utf8(message.DeCall)
      .Utf8(message.DeGrid)
      .Utf8(NullWhenEmpty(message.DxGrid))
      .Bool(message.TxWatchdog);
  if (message.SubMode) {
    writer.Utf8(*message.SubMode);
  } else {
    writer.Utf8(std::nullopt);
  }
  writer.Bool(message.FastMode).Bool(message.TxFirst);
  return writer.Bytes();
}

std::vector<std::uint8_t> EncodeMessage(const DecodeMessage& message) {
  DatagramWriter writer = Start(MessageType::Decode, message.Header);
  writer.Bool(message.New)
      .U32(message.Time)
      .I32(message.Snr)
      .Double(message.DeltaTime)
      .U32(message.DeltaFrequency)
      .Utf8(message.Mode)
      .Utf8(message.Message)
      .Bool(message.LowConfidence)
      .Bool(message.OffAir);
  return writer.Bytes();
}

std::vector<std::uint8_t> EncodeMessage(const ClearMessage& message) {
  return Start(MessageType::Clear, message.Header).Bytes();
}

std::vector<std::uint8_t> EncodeMessage(const QsoLoggedMessage& message) {
  DatagramWriter writer = Start(MessageType::QsoLogged, message.Header);
  WriteDateTime(writer, message.TimeOff);
  writer.Utf8(message.DxCall)
      .Utf8(message.DxGrid)
      .U64(message.TxFrequency)
      .Utf8(message.Mode)
      .Utf8(message.RptSent)
      .Utf8(message.RptRcvd)
      .Utf8(message.TxPower)
      .Utf8(message.Comments)
      .Utf8(message.Name);
  WriteDateTime(writer, message.TimeOn);
  writer.Utf8(message.OperatorCall).Utf8(message.MyCall).Utf8(message.MyGrid);
  return writer.Bytes();
}

std::vector<std::uint8_t> EncodeMessage(const CloseMessage& message) {
  return Start(MessageType::Close, message.Header).Bytes();
}

std::vector<std::uint8_t> EncodeMessage(const JtdxMessage& message) {
  return std::visit([](const auto& m) { return EncodeMessage(m); }, message);
}

std::int64_t JulianDay(int year, int month, int day) {
  // Fliegel and Van Flandern's conversion, in integer arithmetic.
  const std::int64_t a = (14 - month) / 12;
  const std::int64_t y = static_cast<std::int64_t>(year) + 4800 - a;
  const std::int64_t m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}
