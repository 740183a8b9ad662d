#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/bridge_state.h"

// Readers of the big-endian fields of the current datagram, at ReadPos.
// Every byte at or past the datagram's end reads as 0, so a field that runs
// past the end yields zeros and never bytes of an earlier datagram. Each
// reader moves ReadPos past the whole field, as its width or length says.

std::uint8_t DatagramByte(const BridgeState& state, std::size_t pos);
void SkipBytes(BridgeState& state, std::size_t count);

std::uint32_t ReadU32(BridgeState& state);
std::uint64_t ReadU64(BridgeState& state);

// A string field: a u32 length N, then N bytes of UTF-8. The null string
// (0xFFFFFFFF) and every other length with its top bit set count as 0. The
// bytes are returned as they are, zero bytes and invalid UTF-8 included, up
// to the field's end or the datagram's, whichever comes first. The view
// points into RecvBuffer: copy it before the next receive.
std::string_view ReadUtf8(BridgeState& state);

// A string field as the bridge passes texts on to Tolm, the unsaved file and
// the screen: see CleanText.
std::string_view ReadText(BridgeState& state, std::string& scratch);

// The text with each invalid UTF-8 sequence replaced by U+FFFD and every
// control character (C0, DEL, C1; zero bytes among them) dropped. A text that
// is clean already is returned as it is, with no copy; any other is cleaned
// into `scratch`, and the view points there.
std::string_view CleanText(std::string_view text, std::string& scratch);
