#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "adif/adif_file.h"
#include "append_fixtures.h"
#include "read_adif_log.h"
#include "temp_dir.h"

namespace {

TEST(AdifFile, HeaderOnceThenEachAppendAfterTheLast) {
  TempDir dir;
  const std::string path = (dir.Path() / "unsaved.adi").string();
  std::string reason;
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("K1ABC"), "Relvan", reason)) << reason;
  const std::string first = FileText(path);
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("W9XYZ"), "Relvan", reason)) << reason;
  const std::string both = FileText(path);
  EXPECT_EQ(both.substr(0, first.size()), first) << "the first record is left as it was";

  const AdifFile log = ReadAdifLog(path);
  EXPECT_EQ(log.Header.at("PROGRAMID"), "Relvan");
  ASSERT_EQ(log.Records.size(), 2u);
  EXPECT_EQ(log.Records[0].at("CALL"), "K1ABC");
  EXPECT_EQ(log.Records[1].at("CALL"), "W9XYZ");

  // An empty file (the operator emptied it after an import) gets a header again.
  std::ofstream(path, std::ios::trunc).close();
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("N5BBB"), "Relvan", reason)) << reason;
  EXPECT_EQ(ReadAdifLog(path).Header.at("PROGRAMID"), "Relvan");
}

TEST(AdifFile, AppendThatCannotOpenTheFileSaysWhyAndLeavesNoFile) {
  TempDir dir;
  const auto path = dir.Path() / "Plugins" / "unsaved.adi";
  std::string reason;
  EXPECT_FALSE(AppendAdifRecord(path.string(), TestContact("K1ABC"), "Relvan", reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
