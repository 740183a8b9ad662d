// tolm-sim on Linux: the substitute Tolm, reached over a Unix socket at the
// address the bridge's socket binding looks for. With --import it adds an
// ADIF file's contacts to its log instead, and ends.
#include <cstdio>
#include <memory>
#include <string>

#include "core/file_path.h"
#include "host/host_socket_path-posix.h"
#include "sim_host.h"
#include "sim_import.h"
#include "sim_server-posix.h"

int main(int argc, char** argv) {
  SimOptions options;
  std::string reason;
  if (!ParseSimOptions(argc, argv, options, reason)) {
    std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
    return 2;
  }
  if (!options.ImportPath.empty()) {
    const auto print = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
    if (ImportAdifFile(options.ImportPath, options.AdifPath, print, reason)) return 0;
    std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
    return 1;
  }
  const std::unique_ptr<SimHost> host = SimHost::Open(options, reason);
  if (!host) {
    std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
    return 1;
  }
  const std::unique_ptr<SimServer> server = SimServer::Open(DefaultHostSocketPath(), reason);
  if (!server) {
    std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
    return 1;
  }
  std::fprintf(stderr, "tolm-sim: serving %s, saving contacts to %s\n", DefaultHostSocketPath().c_str(),
               Utf8FromPath(options.AdifPath).c_str());
  if (server->Serve(*host, reason)) return 0;
  std::fprintf(stderr, "tolm-sim: %s\n", reason.c_str());
  return 1;
}
