// The Linux writer never loses the file: it replaces it whole or not at all.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/dialog_settings.h"
#include "settings/setting_keys.h"
#include "settings/text_file.h"
#include "settings_file_text.h"

namespace fs = std::filesystem;

namespace {

const std::string kOld = "; mine\n[Settings]\nUDP_Port=2240\n";

bool RunningAsRoot() { return ::geteuid() == 0; }

// Permissions stop every user but root. As root, the checks run in a child
// that has handed the directory to "nobody" and become "nobody".
template <typename Checks>
void AsOrdinaryUser(const fs::path& directory, Checks checks) {
  if (!RunningAsRoot()) return checks();
  constexpr uid_t kNobody = 65534;
  ::lchown(directory.c_str(), kNobody, kNobody);
  for (const auto& entry : fs::recursive_directory_iterator(directory))
    ::lchown(entry.path().c_str(), kNobody, kNobody);
  EXPECT_EXIT(
      {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) std::_Exit(2);
        checks();
        std::_Exit(::testing::Test::HasFailure() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

using TextFileTest = SettingsFolderTest;

TEST_F(TextFileTest, FailedWriteLeavesTheOldFileIntact) {
  WriteSettingsFile(kOld);
  // A full disk, as far as this process goes: no file may grow past a few
  // bytes, for root too, and the write fails instead of ending the process.
  const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  const rlimit tiny = {8, previous.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &tiny);
  EXPECT_FALSE(settings.Write(kUdpPortKey, 2250));
  const bool replaced = ReplaceTextFile(settings.SettingsFilePath().string(), "longer than eight bytes");
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previous_handler);

  EXPECT_FALSE(replaced);
  EXPECT_EQ(SettingsFileText(), kOld);
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2240);
  const auto entries = std::distance(fs::directory_iterator(settings.Path()), fs::directory_iterator());
  EXPECT_EQ(entries, 1);  // no temporary left behind
}

TEST_F(TextFileTest, ReadOnlyFileIsLeftAloneEvenForRoot) {
  WriteSettingsFile(kOld);
  fs::permissions(settings.SettingsFilePath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(settings.Write(kUdpPortKey, 2250));
  fs::permissions(settings.SettingsFilePath(), fs::perms::owner_all);
  EXPECT_EQ(SettingsFileText(), kOld);
}

TEST_F(TextFileTest, ReadOnlyDirectoryOrUnreadableFileIsLeftAlone) {
  WriteSettingsFile(kOld);
  AsOrdinaryUser(dir.Path(), [this] {
    fs::permissions(settings.Path(), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(settings.Write(kUdpPortKey, 2250));
    fs::permissions(settings.Path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(SettingsFileText(), kOld);

    // A file we cannot read is not replaced by one holding a single key.
    fs::permissions(settings.SettingsFilePath(), fs::perms::owner_write);
    EXPECT_FALSE(settings.Write(kUdpPortKey, 2250));
    fs::permissions(settings.SettingsFilePath(), fs::perms::owner_all);
    EXPECT_EQ(SettingsFileText(), kOld);
  });
}

TEST_F(TextFileTest, ReplacementKeepsPermissionsAndSymbolicLinksAndLeavesNoTemporary) {
  const fs::path real = dir.Path() / "real";
  fs::create_directory(real);
  { std::ofstream(real / "Tolm_JTDX.ini", std::ios::binary) << kOld; }
  fs::permissions(real / "Tolm_JTDX.ini", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(real / "Tolm_JTDX.ini", settings.SettingsFilePath());

  EXPECT_TRUE(settings.Write(kUdpPortKey, 2250));
  EXPECT_TRUE(fs::is_symlink(settings.SettingsFilePath()));
  EXPECT_EQ(SettingsFileText(), "; mine\n[Settings]\nUDP_Port=2250\n");
  EXPECT_EQ(fs::status(real / "Tolm_JTDX.ini").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(std::distance(fs::directory_iterator(real), fs::directory_iterator()), 1);  // no temporary left
}

TEST_F(TextFileTest, TwoProcessesWritingAtOnceKeepEachOthersKeys) {
  // What a writer killed between its temporary and the rename left behind.
  std::ofstream(settings.SettingsFilePath().string() + ".tmp-a1B2c3") << "half";
  auto writer = [this](const char* key) {
    const pid_t child = ::fork();
    if (child == 0) {
      // Nobody else writes this key: a value that goes back is a lost update.
      int lost = 0;
      for (int i = 1; i <= 1000; ++i) {
        lost += !settings.Write(key, i);
        lost += ReadSetting(key) != i;
      }
      std::_Exit(lost == 0 ? 0 : 1);
    }
    return child;
  };
  const pid_t first = writer(kMainDialogXKey);
  const pid_t second = writer(kSetupDialogXKey);
  for (const pid_t child : {first, second}) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(ReadSetting(kMainDialogXKey), 1000);
  EXPECT_EQ(ReadSetting(kSetupDialogXKey), 1000);
  EXPECT_EQ(std::distance(fs::directory_iterator(settings.Path()), fs::directory_iterator()), 1);  // the file alone
}

TEST_F(TextFileTest, LinkToAFileNotThereYetIsWrittenThrough) {
  fs::create_directory(dir.Path() / "real");
  fs::create_symlink("../real/Tolm_JTDX.ini", settings.SettingsFilePath());  // relative, dangling
  EXPECT_TRUE(settings.Write(kUdpPortKey, 2250));
  EXPECT_TRUE(fs::is_symlink(settings.SettingsFilePath()));
  EXPECT_EQ(SettingsFileText(), "[Settings]\nUDP_Port=2250\n");
}

TEST_F(TextFileTest, ReadTellsAMissingFileFromAnUnreadableOne) {
  std::string text;
  std::string reason;
  EXPECT_EQ(ReadWholeFile(settings.Path() / "none.ini", text, reason, kMaxSettingsFileBytes), FileRead::Missing);
  fs::create_directory(settings.SettingsFilePath());  // exists, but is no file
  EXPECT_EQ(ReadWholeFile(settings.SettingsFilePath(), text, reason, kMaxSettingsFileBytes), FileRead::Failed);
  EXPECT_FALSE(settings.Write(kUdpPortKey, 2250));
  EXPECT_TRUE(fs::is_directory(settings.SettingsFilePath()));
}

TEST_F(TextFileTest, FifoOrDeviceReadsAsNoneAndIsNotWrittenOver) {
  // Start-up reads it as no file: were a read to block on the FIFO, this
  // test would never end.
  const auto reads_as_none_and_stays = [this] {
    WindowPosition cache;
    EXPECT_EQ(LoadMainDialogSettings(settings, cache).Position, (WindowPosition{10, 10}));
    EXPECT_EQ(LoadMainDialogSettings(settings, cache).Port, 2237);
    EXPECT_FALSE(settings.Write(kUdpPortKey, 2250));
  };
  ASSERT_EQ(::mkfifo(settings.SettingsFilePath().c_str(), 0666), 0);
  reads_as_none_and_stays();
  EXPECT_FALSE(ReplaceTextFile(settings.SettingsFilePath().string(), kOld));
  EXPECT_TRUE(fs::is_fifo(settings.SettingsFilePath()));

  fs::remove(settings.SettingsFilePath());
  fs::create_symlink("/dev/zero", settings.SettingsFilePath());
  reads_as_none_and_stays();
  EXPECT_TRUE(fs::is_character_file(settings.SettingsFilePath()));
  EXPECT_EQ(std::distance(fs::directory_iterator(settings.Path()), fs::directory_iterator()), 1);  // no temporary
}

TEST_F(TextFileTest, WriteGivesUpWhenAnotherKeepsTheDirectoryLocked) {
  WriteSettingsFile(kOld);
  const int holder = ::open(settings.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  bool asked = false;
  const auto change = [&](FileRead, const std::string&) -> std::optional<std::string> {
    asked = true;
    return "[Settings]\nUDP_Port=2250\n";
  };
  constexpr std::chrono::milliseconds kWait{100};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(UpdateTextFile(settings.SettingsFilePath().string(), change, kWait));
  EXPECT_GE(std::chrono::steady_clock::now() - start, kWait);  // it did wait before giving up
  EXPECT_FALSE(asked);
  EXPECT_EQ(SettingsFileText(), kOld);

  ::close(holder);
  EXPECT_TRUE(UpdateTextFile(settings.SettingsFilePath().string(), change, kWait));
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2250);
}
