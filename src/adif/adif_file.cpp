#include "adif/adif_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "adif/adif_reader.h"
#include "adif/adif_record.h"
#include "core/file_path.h"

namespace {

namespace fs = std::filesystem;

// Some systems end their messages with a full stop or a line break.
std::string PlainText(std::string message) {
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == '.' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

std::string SystemReason(int error) { return PlainText(std::generic_category().message(error != 0 ? error : EIO)); }

}  // namespace

bool AppendAdifRecord(const fs::path& path, const LoggedContact& contact, std::string_view program_id,
                      std::string& reason) {
  std::error_code error;
  const bool existed = fs::exists(path, error);
  const std::uintmax_t size_before = existed && !error ? fs::file_size(path, error) : 0;
  if (error) {
    reason = PlainText(error.message());
    return false;
  }
  std::string text = size_before == 0 ? AdifHeader(program_id) : std::string();
  text += AdifRecord(contact);

  std::FILE* file = OpenFile(path, "ab");
  if (file == nullptr) {
    reason = SystemReason(errno);
    return false;
  }
  // The first failure's errno is the reason; the file is closed either way.
  bool failed = false;
  int failure = 0;
  const auto note = [&](bool ok) {
    if (!ok && !failed) {
      failed = true;
      failure = errno;
    }
  };
  errno = 0;
  note(std::fwrite(text.data(), 1, text.size(), file) == text.size());
  note(std::fflush(file) == 0);
  note(std::fclose(file) == 0);
  if (!failed) return true;

  reason = SystemReason(failure);
  if (existed) {
    fs::resize_file(path, size_before, error);
  } else {
    fs::remove(path, error);
  }
  if (error) reason += " (and the unfinished record stays in the file: " + PlainText(error.message()) + ")";
  return false;
}

int CountAdifRecords(const fs::path& path) {
  std::string text;
  std::string reason;
  if (!ReadWholeFile(path, text, reason)) return 0;
  // Only a record's end counts; the fields of an unfinished one do not.
  int records = 0;
  AdifScanner scanner(text);
  for (AdifItem item; scanner.Next(item);) {
    if (item.What == AdifItem::Kind::EndOfRecord) ++records;
  }
  return records;
}

bool CanAppendTo(const fs::path& path) {
  std::error_code error;
  const bool exists = fs::exists(path, error);
  if (error) return false;
  if (exists) {
    std::FILE* file = OpenFile(path, "ab");
    return file != nullptr && std::fclose(file) == 0;
  }
  // A file of its own beside it, so that the check never leaves the operator
  // an empty unsaved-contacts file.
  const fs::path probe = path.parent_path() / ".relvan-write-check";
  std::FILE* file = OpenFile(probe, "wb");
  if (file == nullptr) return false;
  const bool closed = std::fclose(file) == 0;
  fs::remove(probe, error);
  return closed;
}
