#pragma once
#include <string>
#include <utility>

#include "jtdx_messages.h"

// JTDX's Status on 20 m FT8 with a station called: dial 14074000, Rx offset
// 1200 and Tx offset 1500, so that the logger is given Tx 14075500 and Rx
// 14075200.
inline StatusMessage Ft8Status(std::string dx_call = "K1ABC", std::string report = "-5") {
  StatusMessage status;
  status.DialFrequency = 14074000;
  status.Mode = "FT8";
  status.DxCall = std::move(dx_call);
  status.Report = std::move(report);
  status.RxDf = 1200;
  status.TxDf = 1500;
  return status;
}
