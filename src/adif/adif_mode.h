#pragma once
#include <string>
#include <string_view>

// How JTDX's mode texts are written in ADIF 3.1, and read back.
//
// FT8, JT65, JT9, T10, CW and SSB, and WSJT-X's MSK144, JT4 and WSPR, are
// written as MODE themselves; FT4, and WSJT-X's Q65, FST4 and FST4W, are MODE
// MFSK with that SUBMODE, and JTDX's WSPR-2 is MODE WSPR. Any other text
// (JT9+JT65 among them: JTDX does not say in which of the two the contact was
// made) has no ADIF name: it is written as MODE MFSK without a SUBMODE, and
// the record keeps the text itself in its COMMENT.
struct AdifMode {
  std::string Mode;     // empty for an empty text
  std::string Submode;  // empty when there is none
  bool TextInComment = false;
};
AdifMode AdifModeOf(std::string_view jtdx_mode);

// JTDX's text for a record's MODE and SUBMODE; empty when the text is to be
// found in the record's COMMENT (MFSK without a SUBMODE) or MODE is empty.
// Other modes come back as their MODE, or MFSK's SUBMODE ("Q65").
std::string JtdxModeOf(std::string_view mode, std::string_view submode);
