#pragma once
#include <string_view>

// The host macro that switches the logger to a JTDX mode, found by the first
// of the known mode names that the mode text contains (case-sensitive);
// empty when it contains none, as for "WSPR-2".
std::string_view ModeMacro(std::string_view mode);
