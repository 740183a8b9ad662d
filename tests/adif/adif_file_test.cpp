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
  const std::string first = FileBytes(path);
  ASSERT_TRUE(AppendAdifRecord(path, TestContact("W9XYZ"), "Relvan", reason)) << reason;
  const std::string both = FileBytes(path);
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
  EXPECT_EQ(CountAdifRecords(path).Records, 2);
  EXPECT_EQ(ReadAdifLog(path).Records.size(), 2u);
  EXPECT_TRUE(CanAppendTo(path));
}

// The count is what an import finds: "<eor>" inside a value ends no record,
// and a damaged tail leaves the whole records before it counted. A file is
// damaged where the count stops before its end at anything but white space;
// a value longer than the count's buffer is read across it.
TEST(AdifFile, CountReadsRecordsTheWayAnImportDoesAndFindsDamage) {
  TempDir dir;
  const auto path = dir.Path() / "unsaved.adi";
  LoggedContact contact = TestContact("K1ABC");
  contact.Comments = "tnx <eor> 73";
  const std::string record = AdifRecord(contact);
  contact.Comments = std::string(200'000, '<');
  const std::string long_record = AdifRecord(contact);
  const auto count = [&](const std::string& text) {
    std::FILE* file = OpenFile(path, "wb");
    EXPECT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    const AdifCount counted = CountAdifRecords(path);
    return std::pair(counted.Records, counted.Damaged);
  };
  const std::string header = AdifHeader("Relvan");
  EXPECT_EQ(count(header + record + long_record + record + "\r\n "), std::pair(3, false));
  EXPECT_EQ(count(header + record + record + "<CALL:5>W9X"), std::pair(2, true));  // torn
  EXPECT_EQ(count(header + record + "<CALL:5>W9XYZ"), std::pair(1, true));         // no <EOR> after it
  EXPECT_EQ(count(header + record + "<CALL>W9XYZ<EOR>" + record), std::pair(1, true));
  EXPECT_EQ(count(header + record + "73\n"), std::pair(1, true));
  EXPECT_EQ(count(header), std::pair(0, false));
  EXPECT_EQ(count(header.substr(0, header.size() - 8)), std::pair(0, true));  // a header cut short
  EXPECT_EQ(count(""), std::pair(0, false));
  EXPECT_EQ(CountAdifRecords(dir.Path() / "missing.adi").Records, 0);
  EXPECT_FALSE(CountAdifRecords(dir.Path() / "missing.adi").Damaged);
}

}  // namespace
