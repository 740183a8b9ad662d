#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/udp_address.h"

// jtdx-replay [--to ADDRESS] [--port N] [--dump] SCENARIO...
// jtdx-replay [--to ADDRESS] [--port N] [--dump] --raw FILE...
struct ReplayOptions {
  std::uint32_t To = kLoopbackIp;
  std::uint16_t Port = kJtdxUdpPort;
  bool Raw = false;   // each file is one datagram's bytes
  bool Dump = false;  // print each datagram as hex instead of sending it
  bool Help = false;
  std::vector<std::string> Files;
};

inline constexpr const char* kReplayUsage =
    "usage: jtdx-replay [--to ADDRESS] [--port N] [--dump] SCENARIO...\n"
    "       jtdx-replay [--to ADDRESS] [--port N] [--dump] --raw FILE...\n"
    "Sends JTDX's UDP datagrams to 127.0.0.1, or to the IPv4 ADDRESS given\n"
    "(a multicast group such as 239.255.0.1), port 2237 unless given.\n"
    "A scenario has one step a line: heartbeat, status, decode, qso, clear,\n"
    "close with key=value fields, 'wait MS', 'raw HEX', '#' comments.\n"
    "--raw sends each file's bytes as one datagram; --dump prints each\n"
    "datagram as a line of hex instead of sending it.\n";

// False, with the message in reason, on a bad command line.
[[nodiscard]] bool ParseReplayOptions(const std::vector<std::string>& args, ReplayOptions& options,
                                      std::string& reason);
