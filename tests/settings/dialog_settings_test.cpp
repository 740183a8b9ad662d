#include "settings/dialog_settings.h"

#include <filesystem>
#include <string>

#include "settings/settings_file.h"
#include "settings_test_dir.h"

using DialogSettingsTest = SettingsDirTest;

TEST_F(DialogSettingsTest, WithoutAFileTheFallbacksApplyAndNothingIsWritten) {
  std::filesystem::remove("Plugins");
  BridgeState state;
  state.UdpPort = 9999;
  EXPECT_EQ(LoadMainDialogSettings(state), (WindowPosition{10, 10}));
  EXPECT_EQ(state.UdpPort, 2237);
  EXPECT_TRUE(std::filesystem::is_directory("Plugins"));

  state.UdpPort = 9999;
  const auto setup = LoadSetupDialogSettings(state);
  EXPECT_EQ(setup.Position, (WindowPosition{200, 10}));
  EXPECT_EQ((WindowPosition{state.WindowX, state.WindowY}), (WindowPosition{200, 10}));
  EXPECT_EQ(setup.Port, 2237);
  EXPECT_EQ(state.UdpPort, 9999);  // the port the bridge listens on stays
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  EXPECT_FALSE(state.SettingsUnreadable);  // no file is no fault

  // Something in the file's place that cannot be read: the port falls back
  // as before, and the operator is to hear why.
  std::filesystem::create_directory(SettingsPath());
  LoadMainDialogSettings(state);
  EXPECT_EQ(state.UdpPort, 2237);
  EXPECT_TRUE(state.SettingsUnreadable);
}

TEST_F(DialogSettingsTest, ZeroAndNonNumbersTakeTheFallbackEachOnItsOwn) {
  WriteFile("[Settings]\ntolm_jtdx_x=0\ntolm_jtdx_y=55\nSetup_x=-5\nSetup_y=top\nUDP_Port=port\n");
  BridgeState state;
  EXPECT_EQ(LoadMainDialogSettings(state), (WindowPosition{10, 55}));
  EXPECT_EQ(state.UdpPort, 2237);
  EXPECT_EQ(LoadSetupDialogSettings(state).Position, (WindowPosition{-5, 10}));
}

TEST_F(DialogSettingsTest, StoredValuesAreTakenAsTheyRead) {
  WriteFile("[Settings]\ntolm_jtdx_x=-1920\ntolm_jtdx_y=10240\nUDP_Port=2238abc\n");
  BridgeState state;
  EXPECT_EQ(LoadMainDialogSettings(state), (WindowPosition{-1920, 10240}));
  EXPECT_EQ(state.UdpPort, 2238);

  EXPECT_EQ(LoadSetupDialogSettings(state).Port, 2238);
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
    BridgeState state;
    LoadMainDialogSettings(state);
    EXPECT_EQ(state.UdpPort, taken);
    state.UdpPort = 3000;
    EXPECT_EQ(LoadSetupDialogSettings(state).Port, taken);
    EXPECT_EQ(state.UdpPort, 3000);
  }
}

TEST_F(DialogSettingsTest, MovedPositionWritesOnlyTheCoordinateThatChanged) {
  WriteFile("[Settings]\ntolm_jtdx_x=100\ntolm_jtdx_y=200\n");
  BridgeState state;
  LoadMainDialogSettings(state);
  // Changed behind our back: a write of y would show.
  WriteFile("[Settings]\ntolm_jtdx_x=100\ntolm_jtdx_y=999\n");
  SaveWindowPositionWhenMoved(state, {-1920, 200}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), -1920);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 999);
  EXPECT_EQ(state.WindowX, -1920);

  // An edge at exactly 0 is written, and reads as the fallback next time.
  SaveWindowPositionWhenMoved(state, {0, 200}, kMainDialogPositionKeys);
  EXPECT_EQ(LoadMainDialogSettings(state), (WindowPosition{10, 999}));
}

TEST_F(DialogSettingsTest, MainDialogRewritesItsPositionAfterTheSetupDialogUsedTheCache) {
  WriteFile("[Settings]\ntolm_jtdx_x=300\ntolm_jtdx_y=400\n");
  BridgeState state;
  LoadMainDialogSettings(state);
  LoadSetupDialogSettings(state);
  SaveWindowPositionWhenMoved(state, {250, 10}, kSetupDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kSetupDialogXKey), 250);
  EXPECT_EQ(ReadSetting(kSetupDialogYKey), 0);  // unchanged from its fallback: not written

  WriteFile("[Settings]\ntolm_jtdx_x=1\ntolm_jtdx_y=1\n");
  SaveWindowPositionWhenMoved(state, {300, 400}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), 300);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 400);
}

TEST_F(DialogSettingsTest, FailedPositionWriteIsNotRetriedUntilTheDialogMoves) {
  std::filesystem::remove("Plugins");
  BridgeState state;
  SaveWindowPositionWhenMoved(state, {50, 60}, kMainDialogPositionKeys);
  EXPECT_EQ((WindowPosition{state.WindowX, state.WindowY}), (WindowPosition{50, 60}));

  std::filesystem::create_directory("Plugins");
  SaveWindowPositionWhenMoved(state, {50, 60}, kMainDialogPositionKeys);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  SaveWindowPositionWhenMoved(state, {51, 60}, kMainDialogPositionKeys);
  EXPECT_EQ(ReadSetting(kMainDialogXKey), 51);
  EXPECT_EQ(ReadSetting(kMainDialogYKey), 0);
}

TEST_F(DialogSettingsTest, PortIsSavedEvenWhenUnchangedAndAFailedSaveSaysSo) {
  WriteFile("[Settings]\nUDP_Port=2237\n");
  BridgeState state;
  LoadMainDialogSettings(state);
  WriteFile("");
  EXPECT_TRUE(SaveUdpPort(state));
  EXPECT_EQ(ReadSetting(kUdpPortKey), 2237);

  std::filesystem::remove_all("Plugins");
  EXPECT_FALSE(SaveUdpPort(state)) << "no folder to write the port into";
}
