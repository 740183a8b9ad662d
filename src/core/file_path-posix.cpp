// POSIX paths are bytes: UTF-8 text names them as it is.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "core/file_path.h"

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(text); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

namespace {

// The error that keeps an opened file from counting under a limit, 0 when
// it counts.
int LimitError(int fd, std::uintmax_t max_bytes) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return errno;
  if (S_ISDIR(info.st_mode)) return EISDIR;
  if (!S_ISREG(info.st_mode)) return EINVAL;
  return static_cast<std::uintmax_t>(info.st_size) > max_bytes ? EFBIG : 0;
}

}  // namespace

FileRead ReadWholeFile(const std::filesystem::path& path, std::string& text, std::string& reason,
                       std::optional<std::uintmax_t> max_bytes) {
  text.clear();
  // Non-blocking under a limit, so that a FIFO without a writer cannot hold
  // the open up; what was opened is then judged by its descriptor, not by
  // its name.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | (max_bytes ? O_NONBLOCK : 0));
  if (fd < 0) {
    const int error = errno;
    reason = std::generic_category().message(error);
    return error == ENOENT ? FileRead::Missing : FileRead::Failed;
  }
  int error = max_bytes ? LimitError(fd, *max_bytes) : 0;
  char chunk[16384];
  while (error == 0) {
    const auto got = ::read(fd, chunk, sizeof chunk);
    if (got == 0) break;
    if (got < 0) {
      if (errno != EINTR) error = errno;
      continue;
    }
    text.append(chunk, static_cast<std::size_t>(got));
    // One that grows while it is read is held to the limit as well.
    if (max_bytes && text.size() > *max_bytes) error = EFBIG;
  }
  ::close(fd);
  if (error == 0) return FileRead::Ok;
  text.clear();
  reason = std::generic_category().message(error);
  return FileRead::Failed;
}
