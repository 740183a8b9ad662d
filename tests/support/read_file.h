#pragma once
#include <filesystem>
#include <string>

#include "core/file_path.h"

// The bytes of the file at path; empty when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& path) {
  std::string text;
  std::string reason;
  (void)ReadWholeFile(path, text, reason);
  return text;
}
