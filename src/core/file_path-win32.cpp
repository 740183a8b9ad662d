// Windows paths are UTF-16: UTF-8 converts through the project's own
// conversion, and files open through the wide-character calls.
#include "core/file_path.h"

#include "core/utf16-win32.h"

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(Utf8ToUtf16(text)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return Utf16ToUtf8(path.native()); }

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  return _wfopen(path.c_str(), Utf8ToUtf16(mode).c_str());
}
