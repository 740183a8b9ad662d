#include "adif/adif_mode.h"

AdifMode AdifModeOf(std::string_view jtdx_mode) {
  if (jtdx_mode.empty()) return {};
  if (jtdx_mode == "FT8" || jtdx_mode == "JT65" || jtdx_mode == "JT9" || jtdx_mode == "T10" || jtdx_mode == "CW" ||
      jtdx_mode == "SSB") {
    return {std::string(jtdx_mode), "", false};
  }
  if (jtdx_mode == "FT4") return {"MFSK", "FT4", false};
  if (jtdx_mode == "WSPR-2") return {"WSPR", "", false};
  return {"MFSK", "", true};
}

std::string JtdxModeOf(std::string_view mode, std::string_view submode) {
  if (mode == "WSPR") return "WSPR-2";
  if (mode == "MFSK") return std::string(submode);
  return std::string(mode);
}
