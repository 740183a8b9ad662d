#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>

#include "adif/adif_file.h"
#include "append_fixtures.h"
#include "read_file.h"
#include "temp_dir.h"

namespace {

// A file size limit lets the record's first bytes reach the file and stops
// the rest (EFBIG, even for root): the append must take those bytes out again.
TEST(AdifFilePosix, WriteThatFailsHalfwayIsTakenBackOut) {
  TempDir dir;
  const std::string path = (dir.Path() / "unsaved.adi").string();
  std::string reason;
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("K1ABC"), "Relvan", reason)) << reason;
  const std::string before = FileBytes(path);

  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit saved = limit;
  limit.rlim_cur = before.size() + 10;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  const bool appended = AppendAdifRecord(path, TestContact("W9XYZ"), "Relvan", reason);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_FALSE(appended);
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(FileBytes(path), before);
}

}  // namespace
