#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "host/host_call.h"

// The line protocol between the bridge and the substitute host on a local
// stream socket. A request is one line, fields separated by TAB, ended by LF:
//   ExecMacro<TAB>text
//   SetLogField<TAB>index<TAB>text
//   TxFrequency<TAB>hz
//   RxFrequency<TAB>hz
// The reply is "OK" or "ERR<TAB>message", also ended by LF. In texts and
// messages backslash, TAB, LF and CR travel as \\ \t \n \r; every other byte
// goes as it is (UTF-8 stays UTF-8). hz is the exact integer in decimal.
// The host's side of the protocol is tolm-sim's own.

void AppendEscapedWireText(std::string_view text, std::string& out);
std::string EscapeWireText(std::string_view text);
// nullopt when the text holds a lone backslash or an unknown escape.
[[nodiscard]] std::optional<std::string> UnescapeWireText(std::string_view text);

// Appends the complete request line for a call, LF included. A string kept
// from call to call and cleared before each needs no allocation once grown.
void AppendWireRequest(const HostCall& call, std::string& out);

// A reply line without its LF, as the client sees it: the call done, refused
// by the host, or answered with no reply at all; for the last two, with the
// reason (the host's message, or why the reply is unreadable).
enum class WireReply { Ok, Refused, Malformed };
[[nodiscard]] WireReply ParseWireReply(std::string_view line, std::string& reason);
