#include "host/host_socket-posix.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "host/host_socket_path-posix.h"
#include "host/host_wire.h"
#include "host/platform_host.h"

namespace {

// Longer reply lines are not from a well-behaved host; refusing them keeps a
// runaway peer from filling our memory.
constexpr std::size_t kMaxReplyLine = 64 * 1024;

// Waits until fd is ready for events or the deadline passes; false on time-out.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd entry{fd, events, 0};
    const int ready = poll(&entry, 1, static_cast<int>(left.count()));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return true;  // the next send/recv reports the error
  }
}

std::string SecondsText(std::chrono::milliseconds timeout) {
  const auto ms = timeout.count();
  if (ms % 1000 == 0) return std::to_string(ms / 1000) + " s";
  return std::to_string(ms) + " ms";
}

}  // namespace

std::unique_ptr<HostLink> MakePlatformHostLink() { return std::make_unique<SocketHostLink>(); }

SocketHostLink::SocketHostLink(std::string path, std::chrono::milliseconds call_timeout, uid_t host_user)
    : path_(std::move(path)), call_timeout_(call_timeout), host_user_(host_user) {}

SocketHostLink::~SocketHostLink() { DetachHost(); }

void SocketHostLink::DetachHost() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  received_.clear();
  broken_.clear();
}

void SocketHostLink::AttachHost() {
  if (fd_ >= 0) return;
  const std::string path = path_.empty() ? DefaultHostSocketPath() : path_;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return;  // no host can listen there
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

  // Non-blocking, so that a host whose backlog is full cannot hold up the
  // tick: that attempt simply fails and the next tick tries again.
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || !PeerRunsAs(fd, host_user_)) {
    close(fd);
    return;
  }
  fd_ = fd;
}

bool SocketHostLink::StillThere() {
  if (fd_ < 0) return false;
  pollfd entry{fd_, POLLIN | POLLRDHUP, 0};
  if (poll(&entry, 1, 0) <= 0) return true;  // nothing to read: no news is good news
  if ((entry.revents & (POLLHUP | POLLRDHUP | POLLERR)) != 0) return false;
  // Readable: a late reply waits, or the stream has ended.
  char byte;
  const ssize_t n = recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  return n > 0 || (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
}

void SocketHostLink::ExecMacro(std::string_view text) { Call(HostCall::Macro(text)); }

void SocketHostLink::SetLogField(LogField field, std::string_view text) {
  Call(HostCall::Field(static_cast<std::int32_t>(field), text));
}

void SocketHostLink::TxFrequency(double hz) { Call(HostCall::Tx(hz)); }
void SocketHostLink::RxFrequency(double hz) { Call(HostCall::Rx(hz)); }

void SocketHostLink::LimitCalls(std::chrono::milliseconds left) {
  calls_end_ = std::chrono::steady_clock::now() + left;
}

void SocketHostLink::Call(const HostCall& call) {
  if (fd_ < 0) return;
  if (!broken_.empty()) Fail(call, "the connection to Tolm was lost earlier: " + broken_);
  const auto now = std::chrono::steady_clock::now();
  auto deadline = now + call_timeout_;
  cut_by_end_ = calls_end_ && *calls_end_ < deadline;
  if (cut_by_end_) {
    if (*calls_end_ <= now) Fail(call, "not sent, Relvan was ending");
    deadline = *calls_end_;
  }
  request_.clear();
  AppendWireRequest(call, request_);
  SendAll(call, request_, deadline);
  std::string reason;
  const WireReply reply = ParseWireReply(ReceiveLine(call, deadline), reason);
  // The request has gone out whole: from here on Tolm may have run it.
  if (reply == WireReply::Malformed) Break(call, reason, HostCallError::Outcome::MayHaveRun);
  if (reply == WireReply::Refused) Fail(call, reason);
}

void SocketHostLink::SendAll(const HostCall& call, const std::string& request,
                             std::chrono::steady_clock::time_point deadline) {
  // A request cut off here never reaches its LF, so Tolm cannot have run it.
  std::size_t sent = 0;
  while (sent < request.size()) {
    const ssize_t n = send(fd_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd_, POLLOUT, deadline)) Break(call, "Tolm took no request " + WaitedFor());
    } else if (n < 0 && errno != EINTR) {
      Break(call, std::strerror(errno));
    }
  }
}

std::string SocketHostLink::ReceiveLine(const HostCall& call, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto end = received_.find('\n');
    if (end != std::string::npos) {
      std::string line = received_.substr(0, end);
      received_.erase(0, end + 1);
      return line;
    }
    if (received_.size() > kMaxReplyLine) {
      Break(call, "Tolm sent an overlong reply", HostCallError::Outcome::MayHaveRun);
    }

    char chunk[4096];
    const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n > 0) {
      received_.append(chunk, static_cast<std::size_t>(n));
    } else if (n == 0) {
      Break(call, "Tolm closed the connection", HostCallError::Outcome::MayHaveRun);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!WaitFor(fd_, POLLIN, deadline)) {
        Break(call, "no answer from Tolm " + WaitedFor(), HostCallError::Outcome::MayHaveRun);
      }
    } else if (errno != EINTR) {
      Break(call, std::strerror(errno), HostCallError::Outcome::MayHaveRun);
    }
  }
}

std::string SocketHostLink::WaitedFor() const {
  return cut_by_end_ ? "before Relvan ended" : "within " + SecondsText(call_timeout_);
}

void SocketHostLink::Fail(const HostCall& call, const std::string& reason, HostCallError::Outcome outcome) {
  throw HostCallError(HostCallName(call.Op), reason, outcome);
}

// After a failure in transit the stream may still carry a late or partial
// reply that would be taken for the answer to the next call; every later call
// fails instead of reading it.
void SocketHostLink::Break(const HostCall& call, const std::string& reason, HostCallError::Outcome outcome) {
  broken_ = reason;
  Fail(call, reason, outcome);
}
