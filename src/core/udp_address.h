#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where JTDX's datagrams come from and go to: an IPv4 address and a UDP
// port, both in host byte order, and the dotted quad ("239.255.0.1") that
// names an address in the settings, on the status line and on the tools'
// command lines.
struct PeerAddress {
  std::uint32_t Ip = 0;
  std::uint16_t Port = 0;
};

inline constexpr std::uint32_t kLoopbackIp = 0x7F000001;  // 127.0.0.1

// The port JTDX sends to unless told otherwise, and so the bridge's where
// nothing names another.
inline constexpr std::uint16_t kJtdxUdpPort = 2237;

// The address a dotted quad names: four decimal parts of one to three
// digits, each 0 to 255, and nothing else; nothing for any other text.
[[nodiscard]] std::optional<std::uint32_t> ParseIpv4(std::string_view text);
// The dotted quad of an address.
std::string FormatIpv4(std::uint32_t ip);
