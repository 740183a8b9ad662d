#include "settings/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// Closes the descriptor on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const auto written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// What a file made with mode 0666 would get under the process's umask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::string ParentDirectory(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a write really replaces: the target of a symbolic link, so the
// link stays a link.
std::string WriteTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

}  // namespace

FileContents ReadTextFile(const std::string& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return {errno == ENOENT ? FileReadStatus::Missing : FileReadStatus::Failed, {}};
  FileContents contents{FileReadStatus::Ok, {}};
  char chunk[4096];
  for (;;) {
    const auto got = ::read(fd.Get(), chunk, sizeof chunk);
    if (got == 0) return contents;
    if (got < 0) {
      if (errno == EINTR) continue;
      return {FileReadStatus::Failed, {}};
    }
    contents.Text.append(chunk, static_cast<std::size_t>(got));
  }
}

bool ReplaceTextFile(const std::string& path, std::string_view text) {
  const auto target = WriteTarget(path);
  struct stat old_file {};
  const bool exists = ::stat(target.c_str(), &old_file) == 0;
  // A file without write permission is left alone, also for root: it is
  // what Windows' read-only attribute is there.
  if (exists && ((old_file.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) return false;

  // A temporary of our own, so that two bridges in one directory never
  // write into each other's.
  std::string temporary = target + ".XXXXXX";
  FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.Get() < 0) return false;
  const bool written = ::fchmod(fd.Get(), exists ? old_file.st_mode & 07777 : NewFileMode()) == 0 &&
                       WriteAll(fd.Get(), text) && ::fsync(fd.Get()) == 0;
  if (!fd.Close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself durable; the new contents are in place either way.
  FileDescriptor directory(::open(ParentDirectory(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.Get() >= 0) ::fsync(directory.Get());
  return true;
}
