#include "host/host_macros.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// JTDX's combined mode names the two it joins: its own macro is chosen, not
// theirs. A mode Tolm has no macro for gets none, and case counts.
TEST(ModeMacro, IsTheModesOwnEvenWhereOneNameHoldsAnother) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"JT9+JT65", "<MODEADD:JT9JT65>"},
      {"JT65", "<MODEADD:JT65>"},
      {"JT9", "<MODEADD:JT9>"},
      {"FT8", "<MODEADD:FT8>"},
      {"WSPR-2", ""},
      {"ft8", ""},
  };
  for (const auto& [mode, macro] : cases) EXPECT_EQ(ModeMacro(mode), macro) << mode;
}

}  // namespace
