// jtdx-replay: plays JTDX's side of the UDP link from scenario files.
#include <chrono>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/file_path.h"
#include "hex_text.h"
#include "udp_sender.h"
#include "replay_options.h"
#include "scenario.h"

namespace {

std::optional<std::string> ReadFile(const std::string& path) {
  std::string bytes;
  std::string reason;
  if (ReadWholeFile(path, bytes, reason) != FileRead::Ok) return std::nullopt;
  return bytes;
}

// Every file is read and checked before the first datagram goes out, so a
// bad line never leaves a session half played.
[[nodiscard]] bool LoadSteps(const ReplayOptions& options, std::vector<ScenarioStep>& steps) {
  for (const std::string& path : options.Files) {
    const std::optional<std::string> content = ReadFile(path);
    if (!content) {
      std::fprintf(stderr, "jtdx-replay: cannot read %s\n", path.c_str());
      return false;
    }
    if (options.Raw) {
      steps.push_back({ScenarioStep::Kind::Send, {content->begin(), content->end()}, 0});
      continue;
    }
    std::string reason;
    std::optional<std::vector<ScenarioStep>> more = ParseScenario(*content, path, reason);
    if (!more) {
      std::fprintf(stderr, "jtdx-replay: %s\n", reason.c_str());
      return false;
    }
    steps.insert(steps.end(), std::make_move_iterator(more->begin()), std::make_move_iterator(more->end()));
  }
  return true;
}

int Dump(const std::vector<ScenarioStep>& steps) {
  for (const ScenarioStep& step : steps) {
    if (step.What == ScenarioStep::Kind::Send) std::printf("%s\n", FormatHex(step.Datagram).c_str());
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int Play(const std::vector<ScenarioStep>& steps, std::uint32_t to, std::uint16_t port) {
  UdpSender sender;
  std::string reason;
  if (!sender.Open(reason)) {
    std::fprintf(stderr, "jtdx-replay: %s\n", reason.c_str());
    return 1;
  }
  for (const ScenarioStep& step : steps) {
    if (step.What == ScenarioStep::Kind::Wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(step.WaitMs));
    } else if (!sender.Send(to, port, step.Datagram, reason)) {
      std::fprintf(stderr, "jtdx-replay: %s\n", reason.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  ReplayOptions options;
  std::string reason;
  if (!ParseReplayOptions({argv + 1, argv + argc}, options, reason)) {
    std::fprintf(stderr, "jtdx-replay: %s\n%s", reason.c_str(), kReplayUsage);
    return 2;
  }
  if (options.Help) {
    std::printf("%s", kReplayUsage);
    return 0;
  }
  std::vector<ScenarioStep> steps;
  if (!LoadSteps(options, steps)) return 1;
  return options.Dump ? Dump(steps) : Play(steps, options.To, options.Port);
}
