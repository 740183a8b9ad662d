#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "adif/adif_file.h"
#include "adif/adif_record.h"
#include "append_fixtures.h"
#include "read_file.h"
#include "core/file_path.h"
#include "read_adif_log.h"
#include "temp_dir.h"

namespace {

TEST(AdifFile, HeaderOnceThenEachAppendAfterTheLast) {
  TempDir dir;
  const std::string path = (dir.Path() / "unsaved.adi").string();
  std::string reason;
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("K1ABC"), "Relvan", reason)) << reason;
  const std::string first = ReadWholeFile(path);
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("W9XYZ"), "Relvan", reason)) << reason;
  const std::string both = ReadWholeFile(path);
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

// A folder in two scripts, which no single ANSI code page of Windows spells.
TEST(AdifFile, PathInAnyCharactersIsAppendedCountedReadAndChecked) {
  TempDir dir;
  const auto folder = dir.Path() / PathFromUtf8("Журнал Ελλάς");
  std::filesystem::create_directory(folder);
  const auto path = folder / "unsaved.adi";
  EXPECT_EQ(Utf8FromPath(folder.filename()), "Журнал Ελλάς");
  EXPECT_TRUE(CanAppendTo(path));
  EXPECT_FALSE(std::filesystem::exists(path));  // the check made no file of that name
  std::string reason;
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("K1ABC"), "Relvan", reason)) << reason;
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("W9XYZ"), "Relvan", reason)) << reason;
  EXPECT_EQ(CountAdifRecords(path), 2);
  EXPECT_EQ(ReadAdifLog(path).Records.size(), 2u);
  EXPECT_TRUE(CanAppendTo(path));
}

// The count is what an import finds: "<eor>" inside a value ends no record,
// and a damaged tail leaves the whole records before it counted.
TEST(AdifFile, CountReadsRecordsTheWayAnImportDoes) {
  TempDir dir;
  const auto path = dir.Path() / "unsaved.adi";
  LoggedContact contact = TestContact("K1ABC");
  contact.Comments = "tnx <eor> 73";
  const std::string record = AdifRecord(contact);
  const auto write = [&](const std::string& text) {
    std::FILE* file = OpenFile(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  };
  write(AdifHeader("Relvan") + record);
  EXPECT_EQ(CountAdifRecords(path), 1);
  write(AdifHeader("Relvan") + record + record + "<CALL:5>W9X");
  EXPECT_EQ(CountAdifRecords(path), 2);
  EXPECT_EQ(CountAdifRecords(dir.Path() / "missing.adi"), 0);
}

}  // namespace
