#pragma once
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>

#include "host/host_call.h"
#include "host/host_link.h"

// HostLink over the substitute host's Unix stream socket. Attaching is one
// connect; a peer that does not run as our own user is not accepted. Once
// attached the connection is kept until DetachHost: a host that went away
// makes every call fail until then.
class SocketHostLink : public HostLink {
 public:
  static constexpr std::chrono::milliseconds kCallTimeout{5000};

  // An empty path means DefaultHostSocketPath(), looked up at every attempt.
  // The host must run as host_user: our own user, but for tests that play
  // another's link.
  explicit SocketHostLink(std::string path = {}, std::chrono::milliseconds call_timeout = kCallTimeout,
                          uid_t host_user = geteuid());
  ~SocketHostLink() override;
  SocketHostLink(const SocketHostLink&) = delete;
  SocketHostLink& operator=(const SocketHostLink&) = delete;

  void AttachHost() override;
  bool IsAttached() const override { return fd_ >= 0; }
  void DetachHost() override;
  // A host that ended has closed its end: the socket has hung up, or reads
  // the end of the stream.
  bool StillThere() override;
  void LimitCalls(std::chrono::milliseconds left) override;

  void ExecMacro(std::string_view text) override;
  void SetLogField(LogField field, std::string_view text) override;
  void TxFrequency(double hz) override;
  void RxFrequency(double hz) override;

 private:
  // Sends the call's request line and waits for its reply; throws
  // HostCallError. Detached, does nothing.
  void Call(const HostCall& call);
  void SendAll(const HostCall& call, const std::string& request, std::chrono::steady_clock::time_point deadline);
  std::string ReceiveLine(const HostCall& call, std::chrono::steady_clock::time_point deadline);
  // "within 5 s", or where the end cut the call short, that.
  std::string WaitedFor() const;
  [[noreturn]] void Fail(const HostCall& call, const std::string& reason,
                         HostCallError::Outcome outcome = HostCallError::Outcome::Refused);
  [[noreturn]] void Break(const HostCall& call, const std::string& reason,
                          HostCallError::Outcome outcome = HostCallError::Outcome::Refused);

  std::string path_;
  std::chrono::milliseconds call_timeout_;
  uid_t host_user_;
  int fd_ = -1;
  std::string request_;   // the line being sent; its storage serves every call
  std::string received_;  // bytes after the last complete reply line
  std::string broken_;    // why the stream can no longer be trusted, if it can't
  // Where LimitCalls set an end to every call, and whether the call under
  // way waits for it rather than for its own time-out.
  std::optional<std::chrono::steady_clock::time_point> calls_end_;
  bool cut_by_end_ = false;
};
