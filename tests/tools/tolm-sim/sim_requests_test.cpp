#include "sim_requests.h"

#include <gtest/gtest.h>

#include "host/host_wire.h"

namespace {

// Tab, line ends, backslashes, a quote and Cyrillic in one text.
const std::string kAwkwardText = "a\tb\nc\rd\\e\\\\t \"q\" \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";

std::string WireRequestLine(const HostCall& call) {
  std::string line;
  AppendWireRequest(call, line);
  return line;
}

std::string WithoutLf(std::string line) {
  EXPECT_EQ(line.back(), '\n');
  line.pop_back();
  return line;
}

// A request line as the bridge sends it, parsed back as tolm-sim reads it.
struct Parsed {
  HostCall Call;
  std::string Text;
};
Parsed RoundTrip(const HostCall& call) {
  Parsed parsed;
  std::string error;
  const auto back = ParseWireRequest(WithoutLf(WireRequestLine(call)), parsed.Text, error);
  EXPECT_TRUE(back.has_value()) << error;
  if (back) parsed.Call = *back;
  return parsed;
}

TEST(HostWire, RequestsAreOneLineEachWithEscapedTexts) {
  EXPECT_EQ(WireRequestLine(HostCall::Macro("<MODEADD:FT8>")), "ExecMacro\t<MODEADD:FT8>\n");
  EXPECT_EQ(WireRequestLine(HostCall::Field(4, "x\ty\\z\n")), "SetLogField\t4\tx\\ty\\\\z\\n\n");
  EXPECT_EQ(WireRequestLine(HostCall::Field(0, "")), "SetLogField\t0\t\n");
  EXPECT_EQ(WireRequestLine(HostCall::Tx(14075500.0)), "TxFrequency\t14075500\n");
  // Microwave frequencies keep every digit.
  EXPECT_EQ(WireRequestLine(HostCall::Rx(10368101500.0)), "RxFrequency\t10368101500\n");

  const std::string line = WireRequestLine(HostCall::Field(4, kAwkwardText));
  EXPECT_EQ(line.find('\n'), line.size() - 1);
  EXPECT_EQ(line.find('\r'), std::string::npos);
}

TEST(HostWire, EveryRequestParsesBackExactly) {
  Parsed request = RoundTrip(HostCall::Macro(kAwkwardText));
  EXPECT_EQ(request.Call.Op, HostCall::Operation::ExecMacro);
  EXPECT_EQ(request.Call.Text, kAwkwardText);

  request = RoundTrip(HostCall::Field(10, kAwkwardText));
  EXPECT_EQ(request.Call.Op, HostCall::Operation::SetLogField);
  EXPECT_EQ(request.Call.Index, 10);
  EXPECT_EQ(request.Call.Text, kAwkwardText);

  request = RoundTrip(HostCall::Field(-7, ""));
  EXPECT_EQ(request.Call.Index, -7);
  EXPECT_EQ(request.Call.Text, "");

  request = RoundTrip(HostCall::Tx(14075500.0));
  EXPECT_EQ(request.Call.Op, HostCall::Operation::TxFrequency);
  EXPECT_EQ(request.Call.Hz, 14075500.0);

  request = RoundTrip(HostCall::Rx(10368101500.0));
  EXPECT_EQ(request.Call.Op, HostCall::Operation::RxFrequency);
  EXPECT_EQ(request.Call.Hz, 10368101500.0);
}

TEST(HostWire, MalformedRequestsAreRefusedWithAReason) {
  for (const char* line :
       {"", "Hello\tworld", "ExecMacro", "ExecMacro\ta\tb", "SetLogField\tx\ta", "SetLogField\t99999999999\ta",
        "TxFrequency\t14075500.5", "RxFrequency\tnan", "ExecMacro\tends in \\", "ExecMacro\tunknown \\x41 escape"}) {
    std::string text;
    std::string error;
    EXPECT_FALSE(ParseWireRequest(line, text, error).has_value()) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

TEST(HostWire, RepliesCarryTheRefusalExactly) {
  EXPECT_EQ(OkReply(), "OK\n");
  std::string reason;
  EXPECT_EQ(ParseWireReply("OK", reason), WireReply::Ok);

  const std::string reply = ErrReply("bad\tthing\nhappened \\ here");
  EXPECT_EQ(reply.find('\n'), reply.size() - 1);
  EXPECT_EQ(ParseWireReply(WithoutLf(reply), reason), WireReply::Refused);
  EXPECT_EQ(reason, "bad\tthing\nhappened \\ here");

  for (const char* line : {"", "ok", "OK ", "ERR", "ERROR\tx"}) {
    EXPECT_EQ(ParseWireReply(line, reason), WireReply::Malformed) << line;
  }
}

}  // namespace
