#include "sim_options.h"

#include <charconv>

#include "core/file_path.h"

namespace {

constexpr const char* kUsage =
    "usage: tolm-sim [--adif FILE] [--transcript FILE] [--fail-after N] [--slow-for SECONDS]\n"
    "       tolm-sim [--adif FILE] --import FILE   (adds the contacts of an ADIF file to the log, and ends)";

}  // namespace

bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& reason) {
  for (int i = 1; i < argc; ++i) {
    std::string_view name = argv[i];
    std::string_view value;
    bool has_value = false;
    // Both "--adif FILE" and "--adif=FILE".
    if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
      has_value = true;
    }
    if (name != "--adif" && name != "--transcript" && name != "--fail-after" && name != "--slow-for" &&
        name != "--import") {
      reason = "unknown option \"" + std::string(argv[i]) + "\"\n" + kUsage;
      return false;
    }
    if (!has_value) {
      if (i + 1 == argc) {
        reason = std::string(name) + " needs a value\n" + kUsage;
        return false;
      }
      value = argv[++i];
    }

    if (name == "--fail-after" || name == "--slow-for") {
      long count = -1;
      const auto [end, result] = std::from_chars(value.data(), value.data() + value.size(), count);
      if (value.empty() || result != std::errc() || end != value.data() + value.size() || count < 0) {
        reason = std::string(name) + (name == "--slow-for" ? " needs whole seconds" : " needs a count of calls") +
                 " (0 or more), got \"" + std::string(value) + "\"";
        return false;
      }
      if (name == "--slow-for") {
        options.SlowFor = std::chrono::seconds(count);
      } else {
        options.FailAfter = count;
      }
    } else if (value.empty()) {
      reason = std::string(name) + " needs a file name";
      return false;
    } else if (name == "--adif") {
      options.AdifPath = PathFromUtf8(value);
    } else if (name == "--import") {
      options.ImportPath = PathFromUtf8(value);
    } else {
      options.TranscriptPath = PathFromUtf8(value);
    }
  }
  return true;
}
