// What both platforms' file access shares.
#include "core/file_path.h"

#include <system_error>

bool FolderTakesNewFile(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / ".relvan-write-check";
  std::FILE* file = OpenFile(probe, "wb");
  if (file == nullptr) return false;
  const bool closed = std::fclose(file) == 0;
  std::error_code error;
  std::filesystem::remove(probe, error);
  return closed;
}
