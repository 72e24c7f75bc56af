// Which drive or image the CD device opens when nothing else is said.
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/disc_image.h"
#include "platform/audio/cd/cd_drive.h"
#include "platform/settings.h"
#include "support/temp_home.h"

namespace {

// Keeps the developer's own QUORVIN_CDROM out of the test and puts it back after.
class CdDefaultDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* value = std::getenv("QUORVIN_CDROM")) saved_ = value, had_ = true;
    unsetenv("QUORVIN_CDROM");
  }
  void TearDown() override {
    if (had_) setenv("QUORVIN_CDROM", saved_.c_str(), 1);
    else unsetenv("QUORVIN_CDROM");
  }
  TempHome home_;
  std::string saved_;
  bool had_ = false;
};

TEST_F(CdDefaultDeviceTest, ThePlatformSettingNamesTheImageAndItOpens) {
  const std::string cue = testmedia::write_cd_image(home_.path(), "set", testmedia::cd_image_of({1.0, 1.0}));
  platform_setting_write("CDROM", cue);
  EXPECT_EQ(audio::cd_default_device(), cue);
  audio::CdDrive drive;
  std::string error;
  ASSERT_TRUE(drive.open(audio::cd_default_device(), &error)) << error;
  EXPECT_EQ(drive.tracks().size(), 2u);
}

TEST_F(CdDefaultDeviceTest, TheEnvironmentOverridesTheSettingsFile) {
  platform_setting_write("CDROM", home_.file("from-file.cue"));
  setenv("QUORVIN_CDROM", "/srv/discs/from-env.cue", 1);
  EXPECT_EQ(audio::cd_default_device(), "/srv/discs/from-env.cue");
}

}  // namespace
