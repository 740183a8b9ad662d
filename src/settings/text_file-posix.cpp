#include "settings/text_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <thread>

#include "settings/setting_keys.h"

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

std::string FileName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The only kind of file read or replaced.
bool IsSmallRegularFile(const struct stat& info) {
  return S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) <= kMaxSettingsFileBytes;
}

// Whether a write may put a new file at `target`: nothing is there yet, or a
// file the settings' read would read, whose status goes to `existing`.
bool MayReplace(const std::string& target, std::optional<struct stat>& existing) {
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0) {
    existing.reset();
    return errno == ENOENT;
  }
  existing = info;
  return IsSmallRegularFile(info);
}

// Takes the exclusive lock on the open directory, waiting at most `wait` for
// another holder to let go. The retries are short: a writer that waited
// longer between them would seldom catch the lock free from another that
// writes again and again.
bool LockWithin(int directory, std::chrono::milliseconds wait) {
  constexpr std::chrono::milliseconds kRetry{1};
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(directory, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return false;
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= left.zero()) return false;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kRetry));
  }
}

// The file a write really replaces: the end of a chain of symbolic links, so
// that each link stays a link, also when its target does not exist yet.
std::string WriteTarget(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char target[PATH_MAX];
    const auto length = ::readlink(path.c_str(), target, sizeof target - 1);
    if (length < 0) return path;
    const std::string next(target, static_cast<std::size_t>(length));
    path = next.starts_with('/') || path.find('/') == std::string::npos ? next : ParentDirectory(path) + "/" + next;
  }
  return path;
}

// Temporaries are named after their file, so that the next writer knows a
// stale one when it sees it.
constexpr char kTemporaryMark[] = ".tmp-";
constexpr std::size_t kTemporaryRandom = 6;  // mkostemp's XXXXXX

// Removes what writers that were killed between creating their temporary and
// renaming it left beside the file. Only under the directory's lock: then no
// other writer is in the middle of a write.
void RemoveStaleTemporaries(const std::string& target) {
  const std::string directory_path = ParentDirectory(target);
  DIR* directory = ::opendir(directory_path.c_str());
  if (directory == nullptr) return;
  const std::string prefix = FileName(target) + kTemporaryMark;
  while (const dirent* entry = ::readdir(directory)) {
    const std::string_view name = entry->d_name;
    if (name.size() == prefix.size() + kTemporaryRandom && name.starts_with(prefix)) {
      ::unlink((directory_path + "/" + std::string(name)).c_str());
    }
  }
  ::closedir(directory);
}

}  // namespace

bool ReplaceTextFile(const std::string& path, std::string_view text) {
  const auto target = WriteTarget(path);
  std::optional<struct stat> old_file;
  if (!MayReplace(target, old_file)) return false;
  // A file without write permission is left alone, also for root: it is
  // what Windows' read-only attribute is there.
  if (old_file && ((old_file->st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) return false;

  // A temporary of our own, so that two bridges in one directory never
  // write into each other's.
  std::string temporary = target + kTemporaryMark + "XXXXXX";
  FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.Get() < 0) return false;
  const bool written = ::fchmod(fd.Get(), old_file ? old_file->st_mode & 07777 : NewFileMode()) == 0 &&
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

bool UpdateTextFile(const std::string& path,
                    const std::function<std::optional<std::string>(FileRead, const std::string&)>& change,
                    std::chrono::milliseconds lock_wait) {
  const std::string target = WriteTarget(path);
  // Checked before the lock too, so that a link to a device never has us
  // lock, or clear temporaries in, the device's directory.
  std::optional<struct stat> existing;
  if (!MayReplace(target, existing)) return false;
  FileDescriptor directory(::open(ParentDirectory(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.Get() < 0 || !LockWithin(directory.Get(), lock_wait)) return false;
  RemoveStaleTemporaries(target);
  std::string old_text;
  std::string reason;
  const FileRead read = ReadWholeFile(target, old_text, reason, kMaxSettingsFileBytes);
  const auto text = change(read, old_text);
  return text && ReplaceTextFile(target, *text);
  // The lock goes with the directory's descriptor.
}
