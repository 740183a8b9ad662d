#include "bridge/unsaved_log.h"

#include <chrono>
#include <cstdio>
#include <system_error>
#include <utility>

#include "adif/adif_file.h"

namespace {

namespace fs = std::filesystem;

constexpr char kUnsavedFileProgram[] = "Relvan";

// "Tolm_JTDX_unsaved-damaged-20261209-081503.adi" beside the file, or with
// "-2", "-3" where that name is taken.
fs::path SetAsideName(const fs::path& path, Clock::TimePoint now) {
  using namespace std::chrono;
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{floor<seconds>(now - day)};
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "-damaged-%04d%02u%02u-%02ld%02ld%02ld", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<long>(time.hours().count()), static_cast<long>(time.minutes().count()),
                static_cast<long>(time.seconds().count()));
  const fs::path stem = path.stem();
  const fs::path extension = path.extension();
  std::error_code error;
  for (int n = 1;; ++n) {
    fs::path name = stem;
    name += stamp;
    if (n > 1) {
      std::string suffix = "-";  // not "-" + ...: MinGW's GCC 12 takes that for an overlapping copy at -O3
      suffix += std::to_string(n);
      name += suffix;
    }
    name += extension;
    fs::path candidate = path.parent_path() / name;
    if (!fs::exists(candidate, error) || n >= 1000) return candidate;
  }
}

}  // namespace

void UnsavedLog::Use(fs::path path, bool takes_contacts) {
  path_ = std::move(path);
  takes_contacts_ = takes_contacts;
  stamp_.reset();
}

UnsavedLog::Stamp UnsavedLog::StampOf(const fs::path& path) {
  std::error_code error;
  Stamp stamp;
  stamp.Size = fs::file_size(path, error);
  if (error) return {};
  stamp.Modified = fs::last_write_time(path, error);
  if (error) return {};
  stamp.Exists = true;
  return stamp;
}

void UnsavedLog::CountUnlessUnchanged() {
  const Stamp stamp = StampOf(path_);
  if (stamp_ == stamp) return;
  const AdifCount count = CountAdifRecords(path_);
  waiting_ = count.Records;
  damaged_ = count.Damaged;
  stamp_ = stamp;
}

void UnsavedLog::Recount() {
  CountUnlessUnchanged();
  // Only while a problem is shown: a file that works is not opened every time.
  if (!takes_contacts_) takes_contacts_ = CanAppendTo(path_);
}

bool UnsavedLog::Append(const LoggedContact& contact, Clock::TimePoint now, fs::path& set_aside, std::string& reason) {
  takes_contacts_ = false;
  CountUnlessUnchanged();
  if (damaged_) {
    const fs::path aside = SetAsideName(path_, now);
    std::error_code error;
    fs::rename(path_, aside, error);
    if (error) {
      reason = "the file is damaged and could not be set aside: " + error.message();
      return false;
    }
    set_aside = aside;
    waiting_ = 0;
    damaged_ = false;
  }
  if (!AppendAdifRecord(path_, contact, kUnsavedFileProgram, reason)) {
    // Looked at afresh next time: the failed append may have left it as it was, or not.
    stamp_.reset();
    return false;
  }
  ++waiting_;
  stamp_ = StampOf(path_);
  takes_contacts_ = true;
  return true;
}
