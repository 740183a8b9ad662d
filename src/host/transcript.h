#pragma once
#include <string>
#include <string_view>

#include "host/host_call.h"

// One line per host call, as tolm-sim's transcript and the tests' recording
// host print them:
//   ExecMacro "<MODEADD:FT8>"
//   SetLogField 0 "K1ABC"
//   TxFrequency 14075500
//   RxFrequency 14075200
// Texts are quoted with \\ \" \t \n \r and \xHH for the other bytes below
// 0x20 and 0x7F; bytes from 0x80 up stand as they are.

void AppendQuotedTranscriptText(std::string_view text, std::string& out);
std::string QuoteTranscriptText(std::string_view text);
// A frequency as AppendHertz (host/host_call.h) writes it.
std::string FormatHertz(double hz);

std::string TranscriptLine(const HostCall& call);
