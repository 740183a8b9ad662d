#include "host/host_macros.h"

#include <array>
#include <utility>

namespace {

// Each JTDX mode and its macro, searched in this order: "JT9+JT65" comes
// before "JT65" and "JT9", which it contains.
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kModeMacros{{
    {"FT8", "<MODEADD:FT8>"},
    {"FT4", "<MODEADD:FT4>"},
    {"JT9+JT65", "<MODEADD:JT9JT65>"},
    {"JT65", "<MODEADD:JT65>"},
    {"T10", "<MODEADD:T10>"},
    {"JT9", "<MODEADD:JT9>"},
    {"CW", "<MODE:CW>"},
    {"SSB", "<MODE:SSB>"},
}};

}  // namespace

std::string_view ModeMacro(std::string_view mode) {
  for (const auto& [name, macro] : kModeMacros) {
    if (mode.find(name) != std::string_view::npos) return macro;
  }
  return {};
}

std::string_view ModeOfMacro(std::string_view macro) {
  for (const auto& [name, mode_macro] : kModeMacros) {
    if (macro == mode_macro) return name;
  }
  return {};
}
