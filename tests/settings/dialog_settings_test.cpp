#include "settings/dialog_settings.h"

#include <filesystem>
#include <string>

#include "settings_file_text.h"

using DialogSettingsTest = SettingsFolderTest;

TEST_F(DialogSettingsTest, WithoutAFileTheFallbacksApplyAndNothingIsWritten) {
  std::filesystem::remove(settings.Path());
  WindowPosition cache;
  const MainDialogSettings main = LoadMainDialogSettings(settings, cache);
  EXPECT_EQ(main.Position, (WindowPosition{10, 10}));
  EXPECT_EQ(main.Port, 2237);
  EXPECT_FALSE(main.FileUnreadable);  // no file is no fault
  EXPECT_EQ(main.UdpGroup, "");
  EXPECT_TRUE(std::filesystem::is_directory(settings.Path()));

  const auto setup = LoadSetupDialogSettings(settings, cache);
  EXPECT_EQ(setup.Position, (WindowPosition{200, 10}));
  EXPECT_EQ(cache, (WindowPosition{200, 10}));
  EXPECT_EQ(setup.Port, 2237);
  EXPECT_FALSE(std::filesystem::exists(settings.SettingsFilePath()));

  // Something in the file's place that cannot be read: the port falls back
  // as before, and the operator is to hear why.
  std::filesystem::create_directory(settings.SettingsFilePath());
  EXPECT_EQ(LoadMainDialogSettings(settings, cache).Port, 2237);
  EXPECT_TRUE(LoadMainDialogSettings(settings, cache).FileUnreadable);
}

TEST_F(DialogSettingsTest, ZeroAndNonNumbersTakeTheFallbackEachOnItsOwn) {
  WriteSettingsFile("[Settings]\ntolm_jtdx_x=0\ntolm_jtdx_y=55\nSetup_x=-5\nSetup_y=top\nUDP_Port=port\n");
  WindowPosition cache;
  EXPECT_EQ(LoadMainDialogSettings(settings, cache).Position, (WindowPosition{10, 55}));
  EXPECT_EQ(LoadMainDialogSettings(settings, cache).Port, 2237);
  EXPECT_EQ(LoadSetupDialogSettings(settings, cache).Position, (WindowPosition{-5, 10}));
}

TEST_F(DialogSettingsTest, StoredValuesAreTakenAsTheyRead) {
  WriteSettingsFile("[Settings]\ntolm_jtdx_x=-1920\ntolm_jtdx_y=10240\nUDP_Port=2238abc\nUDP_Group= 239.255.0.1 \n");
  WindowPosition cache;
  EXPECT_EQ(LoadMainDialogSettings(settings, cache).UdpGroup, "239.255.0.1");
  EXPECT_EQ(LoadMainDialogSettings(settings, cache).Position, (WindowPosition{-1920, 10240}));
  EXPECT_EQ(LoadMainDialogSettings(settings, cache).Port, 2238);
  EXPECT_EQ(LoadSetupDialogSettings(settings, cache).Port, 2238);
}

TEST_F(DialogSettingsTest, PortsNoEndpointCanHaveTakeTheFallback) {
  struct Case {
    int Stored;
    int Taken;
  };
  for (const auto [stored, taken] :
       {Case{70000, 2237}, Case{0, 2237}, Case{-1, 2237}, Case{65536, 2237}, Case{1, 1}, Case{65535, 65535}}) {
    SCOPED_TRACE(stored);
    WriteSettingsFile("[Settings]\nUDP_Port=" + std::to_string(stored) + "\n");
    WindowPosition cache;
    EXPECT_EQ(LoadMainDialogSettings(settings, cache).Port, taken);
    EXPECT_EQ(LoadSetupDialogSettings(settings, cache).Port, taken);
  }
}

TEST_F(DialogSettingsTest, MovedPositionWritesOnlyTheCoordinateThatChanged) {
  WriteSettingsFile("[Settings]\ntolm_jtdx_x=100\ntolm_jtdx_y=200\n");
  WindowPosition cache;
  LoadMainDialogSettings(settings, cache);
  // Changed behind our back: a write of y would show.
  WriteSettingsFile("[Settings]\ntolm_jtdx_x=100\ntolm_jtdx_y=999\n");
  SaveWindowPositionWhenMoved(settings, cache, {-1920, 200}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), -1920);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 999);
  EXPECT_EQ(cache.X, -1920);

  // An edge at exactly 0 is written, and reads as the fallback next time.
  SaveWindowPositionWhenMoved(settings, cache, {0, 200}, kMainDialogPositionKeys);
  EXPECT_EQ(LoadMainDialogSettings(settings, cache).Position, (WindowPosition{10, 999}));
}

TEST_F(DialogSettingsTest, MainDialogRewritesItsPositionAfterTheSetupDialogUsedTheCache) {
  WriteSettingsFile("[Settings]\ntolm_jtdx_x=300\ntolm_jtdx_y=400\n");
  WindowPosition cache;
  LoadMainDialogSettings(settings, cache);
  LoadSetupDialogSettings(settings, cache);
  SaveWindowPositionWhenMoved(settings, cache, {250, 10}, kSetupDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kSetupDialogXKey), 250);
  EXPECT_EQ(ReadSetting(kSetupDialogYKey), 0);  // unchanged from its fallback: not written

  WriteSettingsFile("[Settings]\ntolm_jtdx_x=1\ntolm_jtdx_y=1\n");
  SaveWindowPositionWhenMoved(settings, cache, {300, 400}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), 300);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 400);
}

TEST_F(DialogSettingsTest, FailedPositionWriteIsNotRetriedUntilTheDialogMoves) {
  std::filesystem::remove(settings.Path());
  WindowPosition cache;
  SaveWindowPositionWhenMoved(settings, cache, {50, 60}, kMainDialogPositionKeys);
  EXPECT_EQ(cache, (WindowPosition{50, 60}));

  settings.Create();
  SaveWindowPositionWhenMoved(settings, cache, {50, 60}, kMainDialogPositionKeys);
  EXPECT_FALSE(std::filesystem::exists(settings.SettingsFilePath()));
  SaveWindowPositionWhenMoved(settings, cache, {51, 60}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), 51);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 0);
}

TEST_F(DialogSettingsTest, PortIsSavedEvenWhenUnchangedAndAFailedSaveSaysSo) {
  WriteSettingsFile("[Settings]\nUDP_Port=2237\n");
  WriteSettingsFile("");
  EXPECT_TRUE(SaveUdpPort(settings, 2237));
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2237);

  std::filesystem::remove_all(settings.Path());
  EXPECT_FALSE(SaveUdpPort(settings, 2237)) << "no folder to write the port into";
}
