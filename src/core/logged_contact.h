#pragma once
#include <cstdint>
#include <string>

#include "core/clock.h"

// One contact as JTDX logs it: everything its QSO Logged message carries, the
// contact's own times included. Texts are UTF-8 as JTDX sent them.
struct LoggedContact {
  std::string Call;
  std::string Grid;
  std::int64_t FrequencyHz = 0;  // the Tx frequency; 0 when unknown
  std::string Mode;              // JTDX's text: "FT8", "FT4", "JT9+JT65", "WSPR-2", ...
  std::string RptSent;
  std::string RptRcvd;
  std::string TxPower;  // free text in JTDX
  std::string Comments;
  std::string Name;
  UtcTime TimeOn;
  UtcTime TimeOff;
  std::string OperatorCall;
  std::string MyCall;
  std::string MyGrid;
};
