#pragma once
#include <sys/types.h>

#include <csignal>
#include <memory>
#include <string>

class SimHost;

// tolm-sim's listening end on Linux: a Unix stream socket, for our own user
// only, that answers each request line of the local protocol in turn. Several
// clients may be connected at once.
class SimServer {
 public:
  // Takes over path: a stale socket left by an ended tolm-sim is removed; a
  // live one, or anything that is not a socket, makes it fail: nothing, with
  // the reason. From here on SIGINT and SIGTERM only end Serve().
  [[nodiscard]] static std::unique_ptr<SimServer> Open(std::string path, std::string& reason);
  // Closes every connection and removes the socket file, if it is still ours.
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Serves clients until SIGINT or SIGTERM arrives: true. False, with the
  // reason, when waiting for clients fails.
  [[nodiscard]] bool Serve(SimHost& host, std::string& reason);

 private:
  explicit SimServer(std::string path);
  [[nodiscard]] bool Listen(std::string& reason);

  std::string path_;
  int listen_fd_ = -1;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  sigset_t wait_mask_;  // the signal mask to wait with: the stop signals open
};
