#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "adif/adif_file.h"
#include "read_adif_log.h"
#include "sim_import.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono;

LoggedContact Contact(const std::string& call, const std::string& mode, std::int64_t hz, UtcTime on, UtcTime off) {
  LoggedContact contact;
  contact.Call = call;
  contact.Mode = mode;
  contact.FrequencyHz = hz;
  contact.TimeOn = on;
  contact.TimeOff = off;
  return contact;
}

// Contacts the bridge kept while Tolm was away, imported later: each keeps
// its own times and frequency.
TEST(SimImport, ContactsOfTheBridgesFileJoinTheLogAsTheyWere) {
  TempDir dir;
  const std::string unsaved = (dir.Path() / "Tolm_JTDX_unsaved.adi").string();
  const std::string log_path = (dir.Path() / "log.adi").string();
  const sys_days march_10{year{2024} / March / 10};
  std::string reason;
  ASSERT_TRUE(
      AppendAdifRecord(unsaved, Contact("K1ABC", "FT8", 14074000, march_10 - 30s, march_10 + 45s), "Relvan", reason));
  ASSERT_TRUE(AppendAdifRecord(unsaved, Contact("DL1XYZ", "Q65", 10368101500, march_10 + 8h, march_10 + 8h + 75s),
                               "Relvan", reason));

  std::vector<std::string> lines;
  const auto report = [&](const std::string& line) { lines.push_back(line); };
  ASSERT_TRUE(ImportAdifFile(unsaved, log_path, report, reason)) << reason;
  EXPECT_EQ(lines,
            (std::vector<std::string>{"imported K1ABC 20240309 235930 FT8", "imported DL1XYZ 20240310 080000 Q65"}));

  const AdifFile log = ReadAdifLog(log_path);
  EXPECT_EQ(log.Header.at("PROGRAMID"), "tolm-sim");
  ASSERT_EQ(log.Records.size(), 2u);
  const auto times = [](const AdifFields& record) {
    return record.at("QSO_DATE") + " " + record.at("TIME_ON") + " " + record.at("QSO_DATE_OFF") + " " +
           record.at("TIME_OFF") + " " + record.at("FREQ");
  };
  EXPECT_EQ(times(log.Records[0]), "20240309 235930 20240310 000045 14.074000");
  EXPECT_EQ(times(log.Records[1]), "20240310 080000 20240310 080115 10368.101500");
  EXPECT_EQ(log.Records[1].at("MODE") + "/" + log.Records[1].at("SUBMODE"), "MFSK/Q65");

  // A file that is not there, or not ADIF, adds nothing.
  std::ofstream(dir.Path() / "broken.adi") << "<CALL:5>K1ABC <QSO_DATE:8>2024";
  lines.clear();
  EXPECT_FALSE(ImportAdifFile((dir.Path() / "missing.adi").string(), log_path, report, reason));
  EXPECT_NE(reason.find("missing.adi"), std::string::npos) << reason;
  EXPECT_FALSE(ImportAdifFile((dir.Path() / "broken.adi").string(), log_path, report, reason));
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(ReadAdifLog(log_path).Records.size(), 2u);
}

}  // namespace
