#pragma once
#include <optional>

#include "adif/logged_contact.h"
#include "core/bridge_state.h"

// Reads one of JTDX's date-time fields at ReadPos and moves past it: the
// Julian day (8 bytes), milliseconds since midnight (4), the time spec (1),
// and behind a spec of 2 (offset from UTC) the offset in seconds (4), behind
// a spec of 3 (a named zone) the zone's id as a string. JTDX writes its log
// times in UTC while its spec says local time, so the digits are taken as
// UTC and never shifted by this machine's zone; only an explicit offset is
// taken off. nullopt when the field runs past the datagram's end or holds no
// real date and time (Qt's null date or time).
std::optional<UtcTime> ReadDateTime(BridgeState& state);
