#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/settings.h"
#include "profile_test_util.h"
#include "support/temp_home.h"

TEST(PlatformSettings, EnvironmentBeatsFileBeatsFallback) {
  TempHome home;
  unsetenv("QUORVIN_TEST_SETTING");
  EXPECT_EQ(platform_setting("MasterVolume", "QUORVIN_TEST_SETTING", "50"), "50");
  platform_setting_write("MasterVolume", "70");
  EXPECT_EQ(read_text(home.file("platform.ini")), "[Platform]\nMasterVolume=70\n");
  EXPECT_EQ(platform_setting("mastervolume", "QUORVIN_TEST_SETTING", "50"), "70");
  setenv("QUORVIN_TEST_SETTING", "", 1);
  EXPECT_EQ(platform_setting("MasterVolume", "QUORVIN_TEST_SETTING", "50"), "");
  unsetenv("QUORVIN_TEST_SETTING");
  EXPECT_EQ(platform_setting("MasterVolume", nullptr, "50"), "70");
}

TEST(PlatformSettings, StoredEmptyValueIsNotTheFallback) {
  TempHome home;
  platform_setting_write("AudioDevice", "");
  EXPECT_EQ(platform_setting("AudioDevice", nullptr, "default"), "");
  EXPECT_EQ(platform_setting("Other", nullptr, "default"), "default");
}

TEST(PlatformSettings, LongValuesAreNotCut) {
  TempHome home;
  const std::string long_value(1000, 'v');
  platform_setting_write("Path", long_value);
  EXPECT_EQ(platform_setting("Path", nullptr), long_value);
}
