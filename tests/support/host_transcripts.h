#pragma once
#include <string>
#include <vector>

// The host calls of the two whole exchanges, as transcript lines, written out
// once for every test that checks them.

// A logged contact: the logger set to the contact's mode, the entry filled in
// the logger's order (call, grid, name, report sent, report received,
// comments), the cursor and the start time fixed, the Tx frequency set, then
// the save.
struct ExpectedEntry {
  std::string Call;
  std::string Grid;
  std::string Name;
  std::string RptSent;
  std::string RptRcvd;
  std::string Comments;
  std::string TxHz;
};

inline std::vector<std::string> QsoLoggedCalls(const ExpectedEntry& qso,
                                               const std::string& mode_macro = "<MODEADD:FT8>") {
  auto quoted = [](const std::string& text) { return "\"" + text + "\""; };
  return {
      "ExecMacro " + quoted(mode_macro),
      "SetLogField 0 " + quoted(qso.Call),
      "SetLogField 10 " + quoted(qso.Grid),
      "SetLogField 1 " + quoted(qso.Name),
      "SetLogField 5 " + quoted(qso.RptSent),
      "SetLogField 2 " + quoted(qso.RptRcvd),
      "SetLogField 4 " + quoted(qso.Comments),
      R"(ExecMacro "<CURSOR:TX>")",
      R"(ExecMacro "<FIXSTARTTIME>")",
      "TxFrequency " + qso.TxHz,
      R"(ExecMacro "<SAVEQSO>")",
  };
}

// A Clear: the six fields emptied in the order 0, 5, 2, 4, 10, 1.
inline const std::vector<std::string> kClearCalls{
    R"(SetLogField 0 "")", R"(SetLogField 5 "")",  R"(SetLogField 2 "")",
    R"(SetLogField 4 "")", R"(SetLogField 10 "")", R"(SetLogField 1 "")",
};
