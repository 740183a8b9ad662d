#include "adif/adif_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

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

namespace {

// Counts ADIF text handed in pieces, as AdifScanner would walk it whole.
class RecordCounter {
 public:
  void Take(std::string_view piece) {
    for (std::size_t at = 0; at < piece.size() && !stopped_;) {
      if (value_left_ > 0) {
        const std::size_t skip = std::min<std::uintmax_t>(value_left_, piece.size() - at);
        value_left_ -= skip;
        at += skip;
        continue;
      }
      const char c = piece[at++];
      if (in_tag_) {
        if (c == '>') {
          EndTag();
        } else if (tag_.size() < kMaxTag) {
          tag_ += c;
        } else {
          stopped_ = true;  // no tag an importer reads is that long
        }
      } else if (c == '<') {
        in_tag_ = true;
        seen_tag_ = true;
        at_end_ = false;
        tag_.clear();
      } else if (seen_tag_ && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
        at_end_ = false;  // text after a record's end (before the first tag it is the preamble)
      }
    }
  }

  AdifCount Result() const { return {records_, stopped_ || in_tag_ || value_left_ > 0 || !at_end_}; }

 private:
  static constexpr std::size_t kMaxTag = 4096;

  void EndTag() {
    in_tag_ = false;
    const std::optional<AdifTag> tag = ReadAdifTag(tag_);
    if (!tag) {
      stopped_ = true;
    } else if (tag->What == AdifItem::Kind::Field) {
      value_left_ = tag->Length;
    } else {
      if (tag->What == AdifItem::Kind::EndOfRecord) ++records_;
      at_end_ = true;
    }
  }

  int records_ = 0;
  bool in_tag_ = false;
  bool seen_tag_ = false;
  bool at_end_ = true;  // nothing but white space since the last end (or the start)
  bool stopped_ = false;
  std::string tag_;
  std::uintmax_t value_left_ = 0;
};

}  // namespace

AdifCount CountAdifRecords(const fs::path& path) {
  std::FILE* in = OpenFile(path, "rb");
  if (in == nullptr) return {};
  RecordCounter counter;
  std::vector<char> buffer(64 * 1024);
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) counter.Take({buffer.data(), got});
  std::fclose(in);
  return counter.Result();
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
  return FolderTakesNewFile(path.parent_path());
}
