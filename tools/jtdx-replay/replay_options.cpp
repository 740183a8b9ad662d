#include "replay_options.h"

#include <stdexcept>

#include "scenario_values.h"

namespace {

bool ParseIpv4(std::string_view text, std::uint32_t& ip) {
  ip = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = part < 3 ? text.find('.') : text.size();
    if (dot == std::string_view::npos || dot == 0 || dot > 3) return false;
    try {
      ip = ip << 8 | static_cast<std::uint32_t>(ParseUnsignedValue(text.substr(0, dot), 255));
    } catch (const std::invalid_argument&) {
      return false;
    }
    text.remove_prefix(part < 3 ? dot + 1 : dot);
  }
  return true;
}

}  // namespace

std::string FormatIpv4(std::uint32_t ip) {
  return std::to_string(ip >> 24) + "." + std::to_string(ip >> 16 & 0xFF) + "." + std::to_string(ip >> 8 & 0xFF) + "." +
         std::to_string(ip & 0xFF);
}

bool ParseReplayOptions(const std::vector<std::string>& args, ReplayOptions& options, std::string& reason) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--port") {
      if (i + 1 == args.size()) {
        reason = "--port needs a port number";
        return false;
      }
      try {
        options.Port = static_cast<std::uint16_t>(ParseUnsignedValue(args[++i], 65535));
      } catch (const std::invalid_argument& e) {
        reason = std::string("--port: ") + e.what();
        return false;
      }
      if (options.Port == 0) {
        reason = "--port: 0 is no port to send to";
        return false;
      }
    } else if (arg == "--to") {
      if (i + 1 == args.size() || !ParseIpv4(args[++i], options.To)) {
        reason = "--to needs an IPv4 address such as 239.255.0.1";
        return false;
      }
    } else if (arg == "--raw") {
      options.Raw = true;
    } else if (arg == "--dump") {
      options.Dump = true;
    } else if (arg == "--help" || arg == "-h") {
      options.Help = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      reason = "unknown option " + arg;
      return false;
    } else {
      options.Files.push_back(arg);
    }
  }
  if (options.Files.empty() && !options.Help) {
    reason = options.Raw ? "no datagram file given" : "no scenario file given";
    return false;
  }
  return true;
}
