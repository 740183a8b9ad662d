// Windows paths are UTF-16: UTF-8 converts through the project's own
// conversion, and files open through the wide-character calls.
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "core/file_path.h"
#include "core/utf16-win32.h"

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(Utf8ToUtf16(text)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return Utf16ToUtf8(path.native()); }

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  return _wfopen(path.c_str(), Utf8ToUtf16(mode).c_str());
}

namespace {

// The error that keeps an opened file from counting under a limit, 0 when
// it counts. (Windows' own open already refuses a directory.)
int LimitError(std::FILE* file, std::uintmax_t max_bytes) {
  struct _stat64 info {};
  if (_fstat64(_fileno(file), &info) != 0) return errno;
  if ((info.st_mode & _S_IFMT) != _S_IFREG) return EINVAL;
  return static_cast<std::uintmax_t>(info.st_size) > max_bytes ? EFBIG : 0;
}

}  // namespace

FileRead ReadWholeFile(const std::filesystem::path& path, std::string& text, std::string& reason,
                       std::optional<std::uintmax_t> max_bytes) {
  text.clear();
  std::FILE* in = OpenFile(path, "rb");
  if (in == nullptr) {
    const int error = errno;
    reason = std::generic_category().message(error);
    return error == ENOENT ? FileRead::Missing : FileRead::Failed;
  }
  int error = max_bytes ? LimitError(in, *max_bytes) : 0;
  char chunk[16384];
  std::size_t got = 0;
  while (error == 0 && (got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
    text.append(chunk, got);
    if (max_bytes && text.size() > *max_bytes) error = EFBIG;
  }
  if (error == 0 && std::ferror(in) != 0) error = errno != 0 ? errno : EIO;
  std::fclose(in);
  if (error == 0) return FileRead::Ok;
  text.clear();
  reason = std::generic_category().message(error);
  return FileRead::Failed;
}
