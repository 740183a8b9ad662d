#pragma once
#include <optional>
#include <string_view>

// An edit's text as a whole decimal integer, as the Setup dialog's port
// field takes it: optional blanks around an optional sign and the digits,
// nothing else. Empty text, other characters and numbers outside the 32-bit
// range are refused.
[[nodiscard]] std::optional<int> ParseDialogInteger(std::string_view text);
