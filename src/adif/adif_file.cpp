#include "adif/adif_file.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "adif/adif_record.h"

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

bool AppendAdifRecord(const std::string& path, const LoggedContact& contact, std::string_view program_id,
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

  std::FILE* file = std::fopen(path.c_str(), "ab");
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

int CountAdifRecords(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 0;
  // A small state machine over the bytes, so that a mark split across two
  // reads still counts and the file need not fit in memory.
  constexpr std::string_view kMark = "<eor>";
  int records = 0;
  std::size_t matched = 0;
  char chunk[4096];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    for (std::size_t i = 0; i < got; ++i) {
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(chunk[i])));
      matched = c == kMark[matched] ? matched + 1 : (c == kMark[0] ? 1 : 0);
      if (matched == kMark.size()) {
        ++records;
        matched = 0;
      }
    }
  }
  std::fclose(file);
  return records;
}
