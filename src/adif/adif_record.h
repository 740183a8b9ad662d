#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/logged_contact.h"

// Contacts as ADIF 3.1 records, and back. The bridge writes the contacts Tolm
// did not take this way, and tolm-sim its log, so that an importer reads
// both alike.

// The fields of one record (or of the header), by upper-case field name.
using AdifFields = std::map<std::string, std::string>;

// The header a file begins with: a line naming the program, then ADIF_VER
// 3.1.4, PROGRAMID and <EOH>, each on a line of its own. program_id is a
// plain name ("tolm-sim"); it must not begin with '<'.
std::string AdifHeader(std::string_view program_id);

// One contact as one record on one line, ending in "<EOR>\n". A field whose
// value would be empty is left out. Field lengths count bytes; texts go as
// they are (UTF-8). The fields:
// - CALL, GRIDSQUARE, RST_SENT, RST_RCVD, NAME, OPERATOR, STATION_CALLSIGN
//   (MyCall) and MY_GRIDSQUARE: the contact's texts.
// - MODE and SUBMODE as adif/adif_mode.h says; COMMENT holds the comments,
//   and for a mode with no ADIF name also the mode's text: "tnx (Q65)", or
//   "Q65" alone when there are no comments.
// - FREQ in MHz with six decimals (14075500 Hz: "14.075500") and BAND, when
//   the frequency is above 0; BAND only when it is in an amateur band.
// - TX_PWR only when the whole text is a number ("100", "5.5"; not "100 W").
// - QSO_DATE, TIME_ON, QSO_DATE_OFF, TIME_OFF: the contact's UTC times as
//   YYYYMMDD and HHMMSS, cut to the second.
std::string AdifRecord(const LoggedContact& contact);

// The contact a record holds: for the fields AdifRecord writes, its inverse
// (MODE and SUBMODE, and the mode text in COMMENT, back to JTDX's text; FREQ
// back to whole hertz; dates and times back to UtcTime). TIME_ON and TIME_OFF
// may have four digits (HHMM). Without QSO_DATE_OFF a TIME_OFF before
// TIME_ON falls on the next day; without TIME_OFF the contact ends when it
// begins. Returns std::nullopt, with the reason, for a record that is no
// contact: one without CALL, QSO_DATE or TIME_ON, or with a date, time or
// FREQ that cannot be read.
[[nodiscard]] std::optional<LoggedContact> ContactFromAdif(const AdifFields& record, std::string& reason);
