#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "jtdx/jtdx_format.h"

// The messages JTDX sends, with every field in JTDX's order and type, and
// defaults that look like a real JTDX 2.2 on 20 m FT8.

inline constexpr std::uint32_t kJtdxSchema = 2;

// Every message starts with these after the magic.
struct JtdxHeader {
  std::uint32_t Schema = kJtdxSchema;
  std::string Id = "JTDX";
};

// A date-time as JTDX sends it: Julian day, milliseconds since midnight and
// the time spec (JTDX says local time, 0, although the digits are UTC).
struct JtdxDateTime {
  std::int64_t JulianDay = 2460463;  // 2024-06-01
  std::uint32_t MsOfDay = 12 * 3600 * 1000;
  std::uint8_t TimeSpec = 0;  // 0 local time, 1 UTC, 2 offset from UTC
};

struct HeartbeatMessage {
  JtdxHeader Header;
  std::uint32_t MaxSchema = 3;
  std::string Version = "2.2.159";
};

struct StatusMessage {
  JtdxHeader Header;
  std::uint64_t DialFrequency = 14074000;
  std::string Mode = "FT8";
  std::string DxCall;  // empty goes out as the null string, as JTDX sends it
  std::string Report = "-10";
  std::optional<std::string> TxMode;  // the mode unless given
  bool TxEnabled = false;
  bool Transmitting = false;
  bool Decoding = false;
  std::int32_t RxDf = 1500;
  std::int32_t TxDf = 1500;
  std::string DeCall = "N0CALL";
  std::string DeGrid = "EN61";
  std::string DxGrid;  // empty goes out as the null string
  bool TxWatchdog = false;
  std::optional<std::string> SubMode;  // JTDX always sends the null string
  bool FastMode = false;
  bool TxFirst = false;
};

struct DecodeMessage {
  JtdxHeader Header;
  bool New = true;
  std::uint32_t Time = 12 * 3600 * 1000;  // ms since midnight
  std::int32_t Snr = -12;
  double DeltaTime = 0.2;
  std::uint32_t DeltaFrequency = 1200;
  std::string Mode = "~";  // "~" FT8, ":" FT4, "#" JT65, "@" JT9, "+" T10
  std::string Message = "CQ K1ABC FN42";
  bool LowConfidence = false;
  bool OffAir = false;
};

struct ClearMessage {
  JtdxHeader Header;
};

// The texts of JTDX's log dialog go out with length 0 when empty.
struct QsoLoggedMessage {
  JtdxHeader Header;
  JtdxDateTime TimeOff{2460463, 12 * 3600 * 1000 + 90 * 1000, 0};
  std::string DxCall = "K1ABC";
  std::string DxGrid = "FN42";
  std::uint64_t TxFrequency = 14075500;  // dial + Tx DF
  std::string Mode = "FT8";
  std::string RptSent = "-10";
  std::string RptRcvd = "-10";
  std::string TxPower = "100";
  std::string Comments;
  std::string Name;
  JtdxDateTime TimeOn;
  std::string OperatorCall;
  std::string MyCall = "N0CALL";
  std::string MyGrid = "EN61";
};

struct CloseMessage {
  JtdxHeader Header;
};

using JtdxMessage =
    std::variant<HeartbeatMessage, StatusMessage, DecodeMessage, ClearMessage, QsoLoggedMessage, CloseMessage>;

std::vector<std::uint8_t> EncodeMessage(const HeartbeatMessage& message);
std::vector<std::uint8_t> EncodeMessage(const StatusMessage& message);
std::vector<std::uint8_t> EncodeMessage(const DecodeMessage& message);
std::vector<std::uint8_t> EncodeMessage(const ClearMessage& message);
std::vector<std::uint8_t> EncodeMessage(const QsoLoggedMessage& message);
std::vector<std::uint8_t> EncodeMessage(const CloseMessage& message);
std::vector<std::uint8_t> EncodeMessage(const JtdxMessage& message);

// The Julian day of a date in the Gregorian calendar, as JTDX counts it.
std::int64_t JulianDay(int year, int month, int day);
