#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/file_path.h"
#include "host/transcript.h"
#include "read_adif_log.h"
#include "sim_host.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono;

// 2024-03-09 21:14:05 UTC
const system_clock::time_point kStart = sys_days{year{2024} / March / 9} + 21h + 14min + 5s;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

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
  AdifFile Log() const { return ReadAdifLog(dir_.Path() / "log.adi"); }

  TempDir dir_;
  system_clock::time_point now_ = kStart;
  std::string refusal_;  // the last refusal of the host under test
};

TEST_F(TolmSim, EachSaveStartsANewEntryUnderOneHeader) {
  SimHost host(Options(), Clock());
  ASSERT_TRUE(host.SetLogField(LogField::Call, "K1ABC", refusal_)) << refusal_;
  ASSERT_TRUE(host.SetLogField(LogField::Name, "Joe", refusal_)) << refusal_;
  ASSERT_TRUE(host.SetLogField(LogField::Grid, "FN42", refusal_)) << refusal_;
  ASSERT_TRUE(host.TxFrequency(14075500.0, refusal_)) << refusal_;
  ASSERT_TRUE(host.ExecMacro("<SAVEQSO>", refusal_)) << refusal_;
  // Near midnight: the second contact closes on the next UTC day.
  now_ = sys_days{year{2024} / March / 9} + 23h + 59min + 30s;
  ASSERT_TRUE(host.SetLogField(LogField::Call, "K2XYZ", refusal_)) << refusal_;
  ASSERT_TRUE(host.ExecMacro("<FIXSTARTTIME>", refusal_)) << refusal_;
  now_ += 1min;
  ASSERT_TRUE(host.ExecMacro("<SAVEQSO>", refusal_)) << refusal_;
  // Without <FIXSTARTTIME> the contact starts when it is saved.
  now_ += 1h;
  ASSERT_TRUE(host.SetLogField(LogField::Call, "K3QRP", refusal_)) << refusal_;
  ASSERT_TRUE(host.ExecMacro("<SAVEQSO>", refusal_)) << refusal_;

  const std::string text = ReadFile(dir_.Path() / "log.adi");
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
  SimHost host(Options(), Clock());
  for (const auto& [macro, modes] : cases) {
    ASSERT_TRUE(host.ExecMacro(macro, refusal_)) << macro << ": " << refusal_;
    ASSERT_TRUE(host.SetLogField(LogField::Call, "K1ABC", refusal_)) << refusal_;
    ASSERT_TRUE(host.ExecMacro("<SAVEQSO>", refusal_)) << refusal_;
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
  SimHost host(options, Clock());
  EXPECT_FALSE(host.ExecMacro("<MODEADD:FT2>", refusal_));
  EXPECT_FALSE(host.ExecMacro("", refusal_));
  EXPECT_FALSE(host.ExecMacro("<SAVEQSO>", refusal_)) << "an entry without a call is not saved";
  EXPECT_FALSE(host.SetLogField(static_cast<LogField>(-1), "x", refusal_));
  EXPECT_FALSE(host.TxFrequency(-1.0, refusal_));
  EXPECT_FALSE(host.RxFrequency(std::nan(""), refusal_));
  EXPECT_TRUE(host.TxFrequency(7074000.0, refusal_)) << refusal_;

  ASSERT_TRUE(host.SetLogField(LogField::Call, "K1ABC", refusal_)) << refusal_;
  ASSERT_FALSE(host.ExecMacro("<SAVEQSO>", refusal_)) << "the log's directory does not exist";
  EXPECT_NE(refusal_.find("not-yet"), std::string::npos) << refusal_;

  std::filesystem::create_directory(dir_.Path() / "not-yet");
  ASSERT_TRUE(host.ExecMacro("<SAVEQSO>", refusal_)) << refusal_;
  const AdifFile log = ReadAdifLog(options.AdifPath);
  ASSERT_EQ(log.Records.size(), 1u);
  EXPECT_EQ(log.Records[0].at("CALL"), "K1ABC");
  EXPECT_EQ(log.Records[0].at("FREQ"), "7.074000");

  // Only what was carried out is in the transcript.
  EXPECT_EQ(ReadFile(dir_.Path() / "transcript.txt"),
            "TxFrequency 7074000\nSetLogField 0 \"K1ABC\"\nExecMacro \"<SAVEQSO>\"\n");
}

TEST_F(TolmSim, TranscriptFileThatCannotBeOpenedStopsStartUp) {
  SimOptions options = Options();
  options.TranscriptPath = (dir_.Path() / "missing" / "t.txt").string();
  EXPECT_THROW(SimHost(options, Clock()), std::runtime_error);
}

TEST(SimOptionsTest, ParsesTheCommandLine) {
  const auto parse = [](std::vector<std::string> words, SimOptions& options, std::string& error) {
    words.insert(words.begin(), "tolm-sim");
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    return ParseSimOptions(static_cast<int>(argv.size()), argv.data(), options, error);
  };
  SimOptions options;
  std::string error;
  ASSERT_TRUE(parse({}, options, error));
  EXPECT_EQ(options.AdifPath, "tolm-sim.adi");
  EXPECT_EQ(options.TranscriptPath, "");
  EXPECT_EQ(options.FailAfter, -1);
  EXPECT_EQ(options.ImportPath, "");

  // File names in any characters, taken as UTF-8.
  ASSERT_TRUE(parse({"--adif", "a.adi", "--transcript=t.txt", "--fail-after", "0", "--slow-for", "8", "--import",
                     "Журнал Ελλάς/in.adi"},
                    options, error))
      << error;
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
    error.clear();
    EXPECT_FALSE(parse(bad, untouched, error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
