#include "replay_options.h"

#include <optional>
#include <stdexcept>

#include "scenario_values.h"

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
      const std::optional<std::uint32_t> to = i + 1 < args.size() ? ParseIpv4(args[++i]) : std::nullopt;
      if (!to) {
        reason = "--to needs an IPv4 address such as 239.255.0.1";
        return false;
      }
      options.To = *to;
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
