#pragma once
#include <cstdint>

// Colours of both dialogs, for every control-colour request: black text on
// a pale yellow cell, over a slightly lighter yellow background brush (the
// two differ in green only, 240 against 250).
struct Rgb {
  std::uint8_t R, G, B;
  bool operator==(const Rgb&) const = default;
};

struct DialogColours {
  Rgb Text;
  Rgb TextBackground;
  Rgb Brush;
};

inline constexpr DialogColours kDialogColours{{0, 0, 0}, {255, 240, 198}, {255, 250, 198}};
