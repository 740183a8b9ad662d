// settings-probe: reads or writes one key of the settings file in the
// program's folder, "Plugins" under the working directory, so that files
// written by one platform's build can be read by the other's.
//   settings-probe read KEY           prints the integer the key reads as
//   settings-probe write KEY VALUE    stores VALUE under KEY; exit status 1
//                                     when it was not written
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "settings/settings_file.h"

int main(int argc, char** argv) {
  const SettingsFolder settings = SettingsFolder::InWorkingDirectory();
  if (argc == 3 && std::strcmp(argv[1], "read") == 0) {
    std::printf("%d\n", settings.Read().Integer(argv[2]));
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "write") == 0) {
    const std::string_view text = argv[3];
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
      std::fprintf(stderr, "settings-probe: not a 32-bit integer: %s\n", argv[3]);
      return 2;
    }
    settings.Create();
    if (settings.Write(argv[2], value)) return 0;
    std::fprintf(stderr, "settings-probe: %s was not written\n", argv[2]);
    return 1;
  }
  std::fprintf(stderr, "usage: settings-probe read KEY | settings-probe write KEY VALUE\n");
  return 2;
}
