#include "sim_server-posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/host_socket_path-posix.h"
#include "sim_requests.h"

namespace {

// A request line longer than this is not from the bridge; the client is
// dropped rather than buffered without end.
constexpr std::size_t kMaxRequestLine = 1024 * 1024;

volatile std::sig_atomic_t stop_requested = 0;

void RequestStop(int) { stop_requested = 1; }

// False, with what failed and the system's reason.
bool SystemFailure(const std::string& what, std::string& reason) {
  reason = what + ": " + std::strerror(errno);
  return false;
}

bool FitsAnAddress(const std::string& path, std::string& reason) {
  if (path.size() < sizeof sockaddr_un::sun_path) return true;
  reason = "socket path too long (" + std::to_string(path.size()) + " bytes): " + path;
  return false;
}

// The address of a path that FitsAnAddress.
sockaddr_un AddressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

bool SomeoneListensAt(const std::string& path) {
  const sockaddr_un address = AddressOf(path);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

bool RemoveStaleSocket(const std::string& path, std::string& reason) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return true;
  if (!S_ISSOCK(info.st_mode)) {
    reason = path + " exists and is not a socket; not touching it";
    return false;
  }
  if (!FitsAnAddress(path, reason)) return false;
  if (SomeoneListensAt(path)) {
    reason = "another tolm-sim already serves " + path;
    return false;
  }
  if (unlink(path.c_str()) != 0 && errno != ENOENT)
    return SystemFailure("cannot remove the stale socket " + path, reason);
  return true;
}

struct Client {
  int fd;
  std::string in;   // bytes after the last complete request line
  std::string out;  // reply bytes not yet sent
};

// Answers the complete lines in client.in, one at a time: the next line is
// only taken once the previous reply has gone out. False when the client
// must be dropped.
bool AnswerLines(Client& client, SimHost& host) {
  while (client.out.empty()) {
    const auto end = client.in.find('\n');
    if (end == std::string::npos) return client.in.size() <= kMaxRequestLine;
    const std::string line = client.in.substr(0, end);
    client.in.erase(0, end + 1);
    client.out = AnswerRequestLine(host, line);

    const ssize_t sent = send(client.fd, client.out.data(), client.out.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    if (sent > 0) client.out.erase(0, static_cast<std::size_t>(sent));
  }
  return true;
}

}  // namespace

std::unique_ptr<SimServer> SimServer::Open(std::string path, std::string& reason) {
  std::unique_ptr<SimServer> server(new SimServer(std::move(path)));
  if (!server->Listen(reason)) return nullptr;
  return server;
}

SimServer::SimServer(std::string path) : path_(std::move(path)) {}

bool SimServer::Listen(std::string& reason) {
  // The stop signals are held back except while Serve() waits, so that they
  // always end the loop (and the socket file is removed) instead of the
  // process. A client that goes away must not kill us either.
  struct sigaction stop {};
  stop.sa_handler = RequestStop;
  sigemptyset(&stop.sa_mask);
  sigaction(SIGINT, &stop, nullptr);
  sigaction(SIGTERM, &stop, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stop_signals, &wait_mask_);
  sigdelset(&wait_mask_, SIGINT);
  sigdelset(&wait_mask_, SIGTERM);

  if (!RemoveStaleSocket(path_, reason) || !FitsAnAddress(path_, reason)) return false;

  // Bound under a private name and renamed when it listens: the socket file
  // appears only once a client can connect to it.
  std::string bind_path = path_ + "." + std::to_string(getpid());
  if (bind_path.size() >= sizeof sockaddr_un::sun_path) bind_path = path_;
  const sockaddr_un address = AddressOf(bind_path);
  unlink(bind_path.c_str());

  listen_fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listen_fd_ < 0) return SystemFailure("cannot create a socket", reason);
  const mode_t old_umask = umask(0077);  // only our user may connect
  const int bound = bind(listen_fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  umask(old_umask);
  // The destructor closes the socket of a failed Listen.
  if (bound != 0) return SystemFailure("cannot listen at " + bind_path, reason);
  struct stat info {};
  if (chmod(bind_path.c_str(), 0600) != 0 || listen(listen_fd_, 16) != 0 ||
      (bind_path != path_ && rename(bind_path.c_str(), path_.c_str()) != 0) || stat(path_.c_str(), &info) != 0) {
    SystemFailure("cannot listen at " + path_, reason);
    unlink(bind_path.c_str());
    return false;
  }
  device_ = info.st_dev;
  inode_ = info.st_ino;
  return true;
}

SimServer::~SimServer() {
  if (listen_fd_ >= 0) close(listen_fd_);
  // Another tolm-sim may have taken the path over since; leave its socket.
  struct stat info {};
  if (lstat(path_.c_str(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_) unlink(path_.c_str());
}

bool SimServer::Serve(SimHost& host, std::string& reason) {
  bool waiting_failed = false;
  std::vector<Client> clients;
  std::vector<pollfd> polled;
  while (!stop_requested) {
    polled.assign(1, pollfd{listen_fd_, POLLIN, 0});
    for (const Client& client : clients) {
      polled.push_back(pollfd{client.fd, static_cast<short>(client.out.empty() ? POLLIN : POLLOUT), 0});
    }
    if (ppoll(polled.data(), polled.size(), nullptr, &wait_mask_) < 0) {
      if (errno == EINTR) continue;
      waiting_failed = !SystemFailure("waiting for clients failed", reason);
      break;
    }

    // Clients first: polled[i + 1] belongs to clients[i] as they were polled.
    std::vector<Client> kept;
    for (std::size_t i = 0; i < clients.size(); ++i) {
      Client& client = clients[i];
      const short events = polled[i + 1].revents;
      bool keep = (events & (POLLERR | POLLNVAL)) == 0;
      if (keep && !client.out.empty() && (events & (POLLOUT | POLLHUP))) {
        const ssize_t sent = send(client.fd, client.out.data(), client.out.size(), MSG_NOSIGNAL);
        if (sent > 0) client.out.erase(0, static_cast<std::size_t>(sent));
        keep = sent >= 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        if (keep) keep = AnswerLines(client, host);
      } else if (keep && (events & (POLLIN | POLLHUP))) {
        char chunk[4096];
        const ssize_t n = recv(client.fd, chunk, sizeof chunk, 0);
        if (n > 0) client.in.append(chunk, static_cast<std::size_t>(n));
        keep = n > 0 || (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
        if (keep) keep = AnswerLines(client, host);
      }
      if (keep) {
        kept.push_back(std::move(client));
      } else {
        close(client.fd);
      }
    }
    clients = std::move(kept);

    if (polled[0].revents & POLLIN) {
      for (;;) {
        const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) break;
        if (!PeerRunsAs(fd, geteuid())) {
          std::fprintf(stderr, "tolm-sim: turned away a client of another user\n");
          close(fd);
          continue;
        }
        clients.push_back(Client{fd, {}, {}});
      }
    }
  }
  for (const Client& client : clients) close(client.fd);
  return !waiting_failed;
}
