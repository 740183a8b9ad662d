#pragma once
#include <string>
#include <string_view>

class SimHost;

// Carries out one request line of the local socket protocol (host/host_wire.h,
// without its LF) and gives the reply line to send back, LF included.
std::string AnswerRequestLine(SimHost& host, std::string_view line);
