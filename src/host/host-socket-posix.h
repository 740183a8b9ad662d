#pragma once
#include <chrono>
#include <string>

#include "host/host_link.h"

// Where the substitute host listens: $XDG_RUNTIME_DIR/Tolm2.Application.sock,
// or /tmp/Tolm2.Application-<uid>.sock when XDG_RUNTIME_DIR is unset or empty.
std::string DefaultHostSocketPath();

// HostLink over the substitute host's Unix stream socket. Attaching is one
// connect; a peer that does not run as our own user is not accepted. Once
// attached the connection is kept for good, like the Windows binding keeps
// its IDispatch: a host that went away makes every later call fail.
class SocketHostLink : public HostLink {
 public:
  static constexpr std::chrono::milliseconds kCallTimeout{5000};

  // An empty path means DefaultHostSocketPath(), looked up at every attempt.
  explicit SocketHostLink(std::string path = {}, std::chrono::milliseconds call_timeout = kCallTimeout);
  ~SocketHostLink() override;
  SocketHostLink(const SocketHostLink&) = delete;
  SocketHostLink& operator=(const SocketHostLink&) = delete;

  void AttachHost() override;
  bool IsAttached() const override { return fd_ >= 0; }

  void ExecMacro(std::string_view text) override;
  void SetLogField(std::int32_t index, std::string_view text) override;
  void TxFrequency(double hz) override;
  void RxFrequency(double hz) override;

 private:
  // Sends one request line and waits for its reply; throws HostCallError.
  // what names the call in error messages (its transcript line).
  void Call(const std::string& request, const std::string& what);
  void SendAll(const std::string& request, const std::string& what, std::chrono::steady_clock::time_point deadline);
  std::string ReceiveLine(const std::string& what, std::chrono::steady_clock::time_point deadline);
  [[noreturn]] void Break(const std::string& what, const std::string& reason);

  std::string path_;
  std::chrono::milliseconds call_timeout_;
  int fd_ = -1;
  std::string received_;  // bytes after the last complete reply line
  std::string broken_;    // why the stream can no longer be trusted, if it can't
};
