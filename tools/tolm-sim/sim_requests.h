#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "host/host_call.h"

class SimHost;

// The host's side of the local socket protocol (host/host_wire.h).

// Parses one request line without its LF. The call's text is unescaped into
// text, which must outlive the call. On a malformed line returns nullopt with
// the reason.
[[nodiscard]] std::optional<HostCall> ParseWireRequest(std::string_view line, std::string& text, std::string& reason);

// Complete reply lines, LF included.
std::string OkReply();
std::string ErrReply(std::string_view message);

// Carries out one request line (without its LF) and gives the reply line to
// send back.
std::string AnswerRequestLine(SimHost& host, std::string_view line);
