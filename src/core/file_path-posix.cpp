// POSIX paths are bytes: UTF-8 text names them as it is.
#include "core/file_path.h"

std::filesystem::path PathFromUtf8(std::string_view text) { return std::filesystem::path(text); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }
