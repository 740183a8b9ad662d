#include "settings/dialog_settings.h"

#include <filesystem>
#include <string>

#include "settings/settings_file.h"
#include "settings_test_dir.h"

using DialogSettingsTest = SettingsDirTest;

TEST_F(DialogSettingsTest, WithoutAFileTheFallbacksApplyAndNothingIsWritten) {
  std::filesystem::remove("Plugins");
  WindowPosition cache;
  const MainDialogSettings main = LoadMainDialogSettings(cache);
  EXPECT_EQ(main.Position, (WindowPosition{10, 10}));
  EXPECT_EQ(main.Port, 2237);
  EXPECT_FALSE(main.FileUnreadable);  // no file is no fault
  EXPECT_EQ(main.UdpGroup, "");
  EXPECT_TRUE(std::filesystem::is_directory("Plugins"));

  const auto setup = LoadSetupDialogSettings(cache);
  EXPECT_EQ(setup.Position, (WindowPosition{200, 10}));
  EXPECT_EQ(cache, (WindowPosition{200, 10}));
  EXPECT_EQ(setup.Port, 2237);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));

  // Something in the file's place that cannot be read: the port falls back
  // as before, and the operator is to hear why.
  std::filesystem::create_directory(SettingsPath());
  EXPECT_EQ(LoadMainDialogSettings(cache).Port, 2237);
  EXPECT_TRUE(LoadMainDialogSettings(cache).FileUnreadable);
}

TEST_F(DialogSettingsTest, ZeroAndNonNumbersTakeTheFallbackEachOnItsOwn) {
  WriteFile("[Settings]\ntolm_jtdx_x=0\ntolm_jtdx_y=55\nSetup_x=-5\nSetup_y=top\nUDP_Port=port\n");
  WindowPosition cache;
  EXPECT_EQ(LoadMainDialogSettings(cache).Position, (WindowPosition{10, 55}));
  EXPECT_EQ(LoadMainDialogSettings(cache).Port, 2237);
  EXPECT_EQ(LoadSetupDialogSettings(cache).Position, (WindowPosition{-5, 10}));
}

TEST_F(DialogSettingsTest, StoredValuesAreTakenAsTheyRead) {
  WriteFile("[Settings]\ntolm_jtdx_x=-1920\ntolm_jtdx_y=10240\nUDP_Port=2238abc\nUDP_Group= 239.255.0.1 \n");
  WindowPosition cache;
  EXPECT_EQ(LoadMainDialogSettings(cache).UdpGroup, "239.255.0.1");
  EXPECT_EQ(LoadMainDialogSettings(cache).Position, (WindowPosition{-1920, 10240}));
  EXPECT_EQ(LoadMainDialogSettings(cache).Port, 2238);
  EXPECT_EQ(LoadSetupDialogSettings(cache).Port, 2238);
}

TEST_F(DialogSettingsTest, PortsNoEndpointCanHaveTakeTheFallback) {
  struct Case {
    int Stored;
    int Taken;
  };
  for (const auto [stored, taken] :
       {Case{70000, 2237}, Case{0, 2237}, Case{-1, 2237}, Case{65536, 2237}, Case{1, 1}, Case{65535, 65535}}) {
    SCOPED_TRACE(stored);
    WriteFile("[Settings]\nUDP_Port=" + std::to_string(stored) + "\n");
    WindowPosition cache;
    EXPECT_EQ(LoadMainDialogSettings(cache).Port, taken);
    EXPECT_EQ(LoadSetupDialogSettings(cache).Port, taken);
  }
}

TEST_F(DialogSettingsTest, MovedPositionWritesOnlyTheCoordinateThatChanged) {
  WriteFile("[Settings]\ntolm_jtdx_x=100\ntolm_jtdx_y=200\n");
  WindowPosition cache;
  LoadMainDialogSettings(cache);
  // Changed behind our back: a write of y would show.
  WriteFile("[Settings]\ntolm_jtdx_x=100\ntolm_jtdx_y=999\n");
  SaveWindowPositionWhenMoved(cache, {-1920, 200}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), -1920);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 999);
  EXPECT_EQ(cache.X, -1920);

  // An edge at exactly 0 is written, and reads as the fallback next time.
  SaveWindowPositionWhenMoved(cache, {0, 200}, kMainDialogPositionKeys);
  EXPECT_EQ(LoadMainDialogSettings(cache).Position, (WindowPosition{10, 999}));
}

TEST_F(DialogSettingsTest, MainDialogRewritesItsPositionAfterTheSetupDialogUsedTheCache) {
  WriteFile("[Settings]\ntolm_jtdx_x=300\ntolm_jtdx_y=400\n");
  WindowPosition cache;
  LoadMainDialogSettings(cache);
  LoadSetupDialogSettings(cache);
  SaveWindowPositionWhenMoved(cache, {250, 10}, kSetupDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kSetupDialogXKey), 250);
  EXPECT_EQ(ReadSetting(kSetupDialogYKey), 0);  // unchanged from its fallback: not written

  WriteFile("[Settings]\ntolm_jtdx_x=1\ntolm_jtdx_y=1\n");
  SaveWindowPositionWhenMoved(cache, {300, 400}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), 300);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 400);
}

TEST_F(DialogSettingsTest, FailedPositionWriteIsNotRetriedUntilTheDialogMoves) {
  std::filesystem::remove("Plugins");
  WindowPosition cache;
  SaveWindowPositionWhenMoved(cache, {50, 60}, kMainDialogPositionKeys);
  EXPECT_EQ(cache, (WindowPosition{50, 60}));

  std::filesystem::create_directory("Plugins");
  SaveWindowPositionWhenMoved(cache, {50, 60}, kMainDialogPositionKeys);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  SaveWindowPositionWhenMoved(cache, {51, 60}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), 51);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 0);
}

TEST_F(DialogSettingsTest, PortIsSavedEvenWhenUnchangedAndAFailedSaveSaysSo) {
  WriteFile("[Settings]\nUDP_Port=2237\n");
  WriteFile("");
  EXPECT_TRUE(SaveUdpPort(2237));
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2237);

  std::filesystem::remove_all("Plugins");
  EXPECT_FALSE(SaveUdpPort(2237)) << "no folder to write the port into";
}
