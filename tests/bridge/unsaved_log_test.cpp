#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "adif/adif_reader.h"
#include "adif/adif_record.h"
#include "bridge/unsaved_log.h"
#include "core/file_path.h"
#include "fake_clock.h"
#include "read_file.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

class UnsavedLogTest : public ::testing::Test {
 protected:
  void SetUp() override { log.Use(dir.Path() / "Tolm_JTDX_unsaved.adi"); }

  void Write(const std::string& text) {
    std::FILE* file = OpenFile(log.Path(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  static LoggedContact Contact(std::string call) {
    LoggedContact contact;
    contact.Call = std::move(call);
    contact.Mode = "FT8";
    contact.FrequencyHz = 14075500;
    return contact;
  }

  TempDir dir;
  UnsavedLog log;
  FakeClock clock;
};

// A record cut short swallows the call of one appended after it; damage
// inside leaves a count that stays wrong. Either file is set aside as it is,
// and the contact is alone in a new one that imports.
TEST_F(UnsavedLogTest, TornOrDamagedFileIsSetAsideAndTheContactStartsANewFile) {
  const std::string record = AdifRecord(Contact("K1ABC"));
  const std::string damaged[] = {AdifHeader("Relvan") + record + "<CALL:5>W9",
                                 AdifHeader("Relvan") + record + "<CALL>W9XYZ<EOR>" + record};
  const fs::path aside = dir.Path() / "Tolm_JTDX_unsaved-damaged-20240601-184000.adi";
  fs::path expected_names[] = {aside, aside};
  expected_names[1].replace_filename("Tolm_JTDX_unsaved-damaged-20240601-184000-2.adi");
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    Write(damaged[i]);
    log.Recount();
    EXPECT_EQ(log.Waiting(), 1);
    fs::path set_aside;
    std::string reason;
    ASSERT_TRUE(log.Append(Contact("DL2XYZ"), clock.Now(), set_aside, reason)) << reason;
    EXPECT_EQ(set_aside, expected_names[i]);
    EXPECT_EQ(FileBytes(set_aside), damaged[i]);  // left as it was, to be mended by hand
    AdifFile file;
    ASSERT_TRUE(ReadAdifFile(log.Path(), file, reason)) << reason;
    ASSERT_EQ(file.Records.size(), 1u);
    EXPECT_EQ(file.Records[0].at("CALL"), "DL2XYZ");
    EXPECT_EQ(log.Waiting(), 1);
    fs::remove(log.Path());
  }
}

// The file is read again only when someone else changed it: its size or its
// time differs from what was last counted or written here.
TEST_F(UnsavedLogTest, FileIsCountedAgainOnlyWhenSomeoneElseChangedIt) {
  fs::path set_aside;
  std::string reason;
  ASSERT_TRUE(log.Append(Contact("K1ABC"), clock.Now(), set_aside, reason)) << reason;
  ASSERT_TRUE(log.Append(Contact("W9XYZ"), clock.Now(), set_aside, reason)) << reason;
  EXPECT_EQ(log.Waiting(), 2);
  // The same size and time, other bytes: not looked at.
  const std::string text = FileBytes(log.Path());
  const fs::file_time_type written = fs::last_write_time(log.Path());
  Write(std::string(text.size(), ' '));
  fs::last_write_time(log.Path(), written);
  log.Recount();
  EXPECT_EQ(log.Waiting(), 2);
  fs::last_write_time(log.Path(), written + std::chrono::seconds(1));
  log.Recount();
  EXPECT_EQ(log.Waiting(), 0);
}

}  // namespace
