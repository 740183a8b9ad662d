#include "core/udp_address.h"

#include <charconv>

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
  std::uint32_t ip = 0;
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && (at == end || *at++ != '.')) return std::nullopt;
    unsigned value = 0;
    const auto [next, error] = std::from_chars(at, end, value);
    if (error != std::errc{} || next == at || next - at > 3 || value > 255) return std::nullopt;
    ip = ip << 8 | value;
    at = next;
  }
  if (at != end) return std::nullopt;
  return ip;
}

std::string FormatIpv4(std::uint32_t ip) {
  return std::to_string(ip >> 24) + "." + std::to_string(ip >> 16 & 0xFF) + "." + std::to_string(ip >> 8 & 0xFF) + "." +
         std::to_string(ip & 0xFF);
}
