#include "adif/adif_mode.h"

AdifMode AdifModeOf(std::string_view jtdx_mode) {
  if (jtdx_mode.empty()) return {};
  for (const std::string_view mode : {"FT8", "JT65", "JT9", "T10", "CW", "SSB", "MSK144", "JT4", "WSPR"}) {
    if (jtdx_mode == mode) return {std::string(jtdx_mode), "", false};
  }
  for (const std::string_view submode : {"FT4", "Q65", "FST4", "FST4W"}) {
    if (jtdx_mode == submode) return {"MFSK", std::string(jtdx_mode), false};
  }
  if (jtdx_mode == "WSPR-2") return {"WSPR", "", false};
  return {"MFSK", "", true};
}

std::string JtdxModeOf(std::string_view mode, std::string_view submode) {
  if (mode == "WSPR") return "WSPR-2";
  if (mode == "MFSK") return std::string(submode);
  return std::string(mode);
}
