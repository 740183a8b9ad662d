#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/file_path.h"
#include "host/transcript.h"
#include "read_adif_log.h"
#include "read_file.h"
#include "sim_host.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono;

// 2024-03-09 21:14:05 UTC
const system_clock::time_point kStart = sys_days{year{2024} / March / 9} + 21h + 14min + 5s;

// tolm-sim's host on a clock of the test's own. The bridge's exchange with
// it (the transcript, refusals, a logged contact in the ADIF log) is told in
// host_socket_test, against the program itself.
class TolmSim : public ::testing::Test {
 protected:
  SimOptions Options() const {
    SimOptions options;
    options.AdifPath = (dir_.Path() / "log.adi").string();
    options.TranscriptPath = (dir_.Path() / "transcript.txt").string();
    return options;
  }
  SimHost::Clock Clock() {
    return [this] { return now_; };
  }
  std::unique_ptr<SimHost> Open(SimOptions options) {
    auto host = SimHost::Open(std::move(options), Clock(), reason_);
    EXPECT_TRUE(host) << reason_;
    return host;
  }
  AdifFile Log() const { return ReadAdifLog(dir_.Path() / "log.adi"); }

  TempDir dir_;
  system_clock::time_point now_ = kStart;
  std::string reason_;  // why the host under test last refused
};

TEST_F(TolmSim, EachSaveStartsANewEntryUnderOneHeader) {
  const auto host = Open(Options());
  ASSERT_TRUE(host->SetLogField(LogField::Call, "K1ABC", reason_)) << reason_;
  ASSERT_TRUE(host->SetLogField(LogField::Name, "Joe", reason_)) << reason_;
  ASSERT_TRUE(host->SetLogField(LogField::Grid, "FN42", reason_)) << reason_;
  ASSERT_TRUE(host->TxFrequency(14075500.0, reason_)) << reason_;
  ASSERT_TRUE(host->ExecMacro("<SAVEQSO>", reason_)) << reason_;
  // Near midnight: the second contact closes on the next UTC day.
  now_ = sys_days{year{2024} / March / 9} + 23h + 59min + 30s;
  ASSERT_TRUE(host->SetLogField(LogField::Call, "K2XYZ", reason_)) << reason_;
  ASSERT_TRUE(host->ExecMacro("<FIXSTARTTIME>", reason_)) << reason_;
  now_ += 1min;
  ASSERT_TRUE(host->ExecMacro("<SAVEQSO>", reason_)) << reason_;
  // Without <FIXSTARTTIME> the contact starts when it is saved.
  now_ += 1h;
  ASSERT_TRUE(host->SetLogField(LogField::Call, "K3QRP", reason_)) << reason_;
  ASSERT_TRUE(host->ExecMacro("<SAVEQSO>", reason_)) << reason_;

  const std::string text = FileBytes(dir_.Path() / "log.adi");
  EXPECT_EQ(text.find("<EOH>"), text.rfind("<EOH>"));
  const AdifFile log = Log();
  ASSERT_EQ(log.Records.size(), 3u);
  EXPECT_EQ(log.Records[0].at("NAME"), "Joe");
  EXPECT_EQ(log.Records[0].count("COMMENT"), 0u) << "empty fields are left out";

  // Mode and frequency stay; the entry's own fields start empty again.
  const auto& second = log.Records[1];
  EXPECT_EQ(second.at("CALL"), "K2XYZ");
  EXPECT_EQ(second.count("NAME"), 0u);
  EXPECT_EQ(second.count("GRIDSQUARE"), 0u);
  EXPECT_EQ(second.at("FREQ"), "14.075500");
  EXPECT_EQ(second.at("QSO_DATE"), "20240309");
  EXPECT_EQ(second.at("TIME_ON"), "235930");
  EXPECT_EQ(second.at("QSO_DATE_OFF"), "20240310");
  EXPECT_EQ(second.at("TIME_OFF"), "000030");

  const auto& third = log.Records[2];
  EXPECT_EQ(third.at("QSO_DATE"), "20240310");
  EXPECT_EQ(third.at("TIME_ON"), "010030");
  EXPECT_EQ(third.at("TIME_OFF"), "010030");
  EXPECT_EQ(third.at("QSO_DATE_OFF"), "20240310");
}

TEST_F(TolmSim, ModeMacrosSelectAdifModes) {
  const std::pair<const char*, std::map<std::string, std::string>> cases[] = {
      {"<MODEADD:FT8>", {{"MODE", "FT8"}}},   {"<MODEADD:FT4>", {{"MODE", "MFSK"}, {"SUBMODE", "FT4"}}},
      {"<MODEADD:JT65>", {{"MODE", "JT65"}}}, {"<MODEADD:JT9>", {{"MODE", "JT9"}}},
      {"<MODEADD:T10>", {{"MODE", "T10"}}},   {"<MODEADD:JT9JT65>", {{"MODE", "MFSK"}, {"COMMENT", "JT9+JT65"}}},
      {"<MODE:CW>", {{"MODE", "CW"}}},        {"<MODE:SSB>", {{"MODE", "SSB"}}},
  };
  const auto host = Open(Options());
  for (const auto& [macro, modes] : cases) {
    ASSERT_TRUE(host->ExecMacro(macro, reason_)) << macro << ": " << reason_;
    ASSERT_TRUE(host->SetLogField(LogField::Call, "K1ABC", reason_)) << reason_;
    ASSERT_TRUE(host->ExecMacro("<SAVEQSO>", reason_)) << reason_;
  }
  const AdifFile log = Log();
  ASSERT_EQ(log.Records.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& record = log.Records[i];
    std::map<std::string, std::string> modes;
    for (const char* name : {"MODE", "SUBMODE", "COMMENT"}) {
      if (record.count(name) != 0) modes[name] = record.at(name);
    }
    EXPECT_EQ(modes, cases[i].second) << cases[i].first;
  }
}

TEST_F(TolmSim, RefusesWhatItCannotDoAndKeepsTheEntry) {
  SimOptions options = Options();
  options.AdifPath = (dir_.Path() / "not-yet" / "log.adi").string();
  const auto host = Open(options);
  EXPECT_FALSE(host->ExecMacro("<MODEADD:FT2>", reason_));
  EXPECT_FALSE(host->ExecMacro("", reason_));
  EXPECT_FALSE(host->ExecMacro("<SAVEQSO>", reason_)) << "an entry without a call is not saved";
  EXPECT_FALSE(host->SetLogField(static_cast<LogField>(-1), "x", reason_));
  EXPECT_FALSE(host->TxFrequency(-1.0, reason_));
  EXPECT_FALSE(host->RxFrequency(std::nan(""), reason_));
  EXPECT_TRUE(host->TxFrequency(7074000.0, reason_)) << reason_;

  ASSERT_TRUE(host->SetLogField(LogField::Call, "K1ABC", reason_)) << reason_;
  ASSERT_FALSE(host->ExecMacro("<SAVEQSO>", reason_)) << "the log's directory does not exist";
  EXPECT_NE(reason_.find("not-yet"), std::string::npos) << reason_;

  std::filesystem::create_directory(dir_.Path() / "not-yet");
  ASSERT_TRUE(host->ExecMacro("<SAVEQSO>", reason_)) << reason_;
  const AdifFile log = ReadAdifLog(options.AdifPath);
  ASSERT_EQ(log.Records.size(), 1u);
  EXPECT_EQ(log.Records[0].at("CALL"), "K1ABC");
  EXPECT_EQ(log.Records[0].at("FREQ"), "7.074000");

  // Only what was carried out is in the transcript.
  EXPECT_EQ(FileBytes(dir_.Path() / "transcript.txt"),
            "TxFrequency 7074000\nSetLogField 0 \"K1ABC\"\nExecMacro \"<SAVEQSO>\"\n");
}

TEST_F(TolmSim, TranscriptFileThatCannotBeOpenedStopsStartUp) {
  SimOptions options = Options();
  options.TranscriptPath = (dir_.Path() / "missing" / "t.txt").string();
  EXPECT_FALSE(SimHost::Open(options, Clock(), reason_));
  EXPECT_EQ(reason_, "cannot open the transcript file " + Utf8FromPath(options.TranscriptPath));
}

TEST(SimOptionsTest, ParsesTheCommandLine) {
  const auto parse = [](std::vector<std::string> words, SimOptions& options, std::string& reason) {
    words.insert(words.begin(), "tolm-sim");
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    return ParseSimOptions(static_cast<int>(argv.size()), argv.data(), options, reason);
  };
  SimOptions options;
  std::string reason;
  ASSERT_TRUE(parse({}, options, reason));
  EXPECT_EQ(options.AdifPath, "tolm-sim.adi");
  EXPECT_EQ(options.TranscriptPath, "");
  EXPECT_EQ(options.FailAfter, -1);
  EXPECT_EQ(options.ImportPath, "");

  // File names in any characters, taken as UTF-8.
  ASSERT_TRUE(parse({"--adif", "a.adi", "--transcript=t.txt", "--fail-after", "0", "--slow-for", "8", "--import",
                     "Журнал Ελλάς/in.adi"},
                    options, reason))
      << reason;
  EXPECT_EQ(options.AdifPath, "a.adi");
  EXPECT_EQ(Utf8FromPath(options.ImportPath.parent_path()), "Журнал Ελλάς");
  EXPECT_EQ(options.TranscriptPath, "t.txt");
  EXPECT_EQ(options.FailAfter, 0);
  EXPECT_EQ(options.SlowFor, std::chrono::seconds(8));

  for (const auto& bad : std::vector<std::vector<std::string>>{{"--adif"},
                                                               {"--fail-after", "-1"},
                                                               {"--fail-after", "3x"},
                                                               {"--fail-after="},
                                                               {"--slow-for", "1.5"},
                                                               {"--adif="},
                                                               {"--import"},
                                                               {"--verbose"},
                                                               {"log.adi"}}) {
    SimOptions untouched;
    reason.clear();
    EXPECT_FALSE(parse(bad, untouched, reason)) << bad[0];
    EXPECT_FALSE(reason.empty());
  }
}

}  // namespace
