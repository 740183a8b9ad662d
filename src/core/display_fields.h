#pragma once
#include <string>

// The six texts the main dialog shows, in the dialog's member order.
struct DisplayFields {
  std::string Call;
  std::string RptSent;
  std::string RptRcvd;
  std::string Grid;
  std::string Freq;
  std::string Mode;

  bool operator==(const DisplayFields&) const = default;
};
