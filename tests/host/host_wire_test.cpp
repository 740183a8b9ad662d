#include "host/host_wire.h"

#include <gtest/gtest.h>

namespace {

// Tab, line ends, backslashes, a quote and Cyrillic in one text.
const std::string kAwkwardText = "a\tb\nc\rd\\e\\\\t \"q\" \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";

std::string WithoutLf(std::string line) {
  EXPECT_EQ(line.back(), '\n');
  line.pop_back();
  return line;
}

WireRequest Parse(const std::string& line) {
  std::string error;
  const auto request = ParseWireRequest(WithoutLf(line), error);
  EXPECT_TRUE(request.has_value()) << error;
  return request.value_or(WireRequest{});
}

TEST(HostWire, RequestsAreOneLineEachWithEscapedTexts) {
  EXPECT_EQ(ExecMacroRequest("<MODEADD:FT8>"), "ExecMacro\t<MODEADD:FT8>\n");
  EXPECT_EQ(SetLogFieldRequest(4, "x\ty\\z\n"), "SetLogField\t4\tx\\ty\\\\z\\n\n");
  EXPECT_EQ(SetLogFieldRequest(0, ""), "SetLogField\t0\t\n");
  EXPECT_EQ(TxFrequencyRequest(14075500.0), "TxFrequency\t14075500\n");
  // Microwave frequencies keep every digit.
  EXPECT_EQ(RxFrequencyRequest(10368101500.0), "RxFrequency\t10368101500\n");

  const std::string line = SetLogFieldRequest(4, kAwkwardText);
  EXPECT_EQ(line.find('\n'), line.size() - 1);
  EXPECT_EQ(line.find('\r'), std::string::npos);
}

TEST(HostWire, EveryRequestParsesBackExactly) {
  WireRequest request = Parse(ExecMacroRequest(kAwkwardText));
  EXPECT_EQ(request.kind, WireRequest::Kind::ExecMacro);
  EXPECT_EQ(request.text, kAwkwardText);

  request = Parse(SetLogFieldRequest(10, kAwkwardText));
  EXPECT_EQ(request.kind, WireRequest::Kind::SetLogField);
  EXPECT_EQ(request.index, 10);
  EXPECT_EQ(request.text, kAwkwardText);

  request = Parse(SetLogFieldRequest(-7, ""));
  EXPECT_EQ(request.index, -7);
  EXPECT_EQ(request.text, "");

  request = Parse(TxFrequencyRequest(14075500.0));
  EXPECT_EQ(request.kind, WireRequest::Kind::TxFrequency);
  EXPECT_EQ(request.hz, 14075500.0);

  request = Parse(RxFrequencyRequest(10368101500.0));
  EXPECT_EQ(request.kind, WireRequest::Kind::RxFrequency);
  EXPECT_EQ(request.hz, 10368101500.0);
}

TEST(HostWire, MalformedRequestsAreRefusedWithAReason) {
  for (const char* line : {"", "Hello\tworld", "ExecMacro", "ExecMacro\ta\tb", "SetLogField\tx\ta",
                           "SetLogField\t99999999999\ta", "TxFrequency\t14075500.5", "RxFrequency\tnan",
                           "ExecMacro\tends in \\", "ExecMacro\tunknown \\x41 escape"}) {
    std::string error;
    EXPECT_FALSE(ParseWireRequest(line, error).has_value()) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

TEST(HostWire, RepliesCarryTheRefusalExactly) {
  EXPECT_EQ(OkReply(), "OK\n");
  EXPECT_TRUE(ParseWireReply("OK").ok);

  const std::string reply = ErrReply("bad\tthing\nhappened \\ here");
  EXPECT_EQ(reply.find('\n'), reply.size() - 1);
  const WireReply parsed = ParseWireReply(WithoutLf(reply));
  EXPECT_FALSE(parsed.ok);
  EXPECT_FALSE(parsed.malformed);
  EXPECT_EQ(parsed.message, "bad\tthing\nhappened \\ here");

  for (const char* line : {"", "ok", "OK ", "ERR", "ERROR\tx"}) {
    const WireReply garbage = ParseWireReply(line);
    EXPECT_FALSE(garbage.ok) << line;
    EXPECT_TRUE(garbage.malformed) << line;
  }
}

}  // namespace
