#pragma once
#include <string>
#include <string_view>

// Texts as the bridge passes them on to Tolm, the unsaved-contacts file and
// the screen: each invalid UTF-8 sequence replaced by U+FFFD and every control
// character (C0, DEL, C1; zero bytes among them) dropped. A text that is
// clean already is returned as it is, with no copy; any other is cleaned into
// `scratch`, and the view points there.
std::string_view CleanText(std::string_view text, std::string& scratch);
