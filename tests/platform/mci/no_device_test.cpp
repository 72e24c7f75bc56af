// With no sound device the first play says so; later plays go on silently. A
// binary of its own: the engine picks its device once per process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "media_files.h"
#include "platform/audio/engine.h"
#include "platform/mci/mmsystem.h"
#include "support/temp_home.h"

namespace {

TEST(MciWithoutSoundDevice, FirstPlayReportsItThenPlaybackProceeds) {
  TempHome home;
  setenv("QUORVIN_AUDIO", "no-such-sound-device", 1);
  const std::string path = mcitest::write_sine_wav(home.file("a.wav"), 0.2, 44100, 1, 16);
  ASSERT_EQ(mciSendStringA(("open \"" + path + "\" type waveaudio alias w").c_str(), nullptr, 0, nullptr), 0u);
  ASSERT_FALSE(audio::no_device_reason().empty());
  const MCIERROR first = mciSendStringA("play w", nullptr, 0, nullptr);
  EXPECT_EQ(first, MCIERR_NO_SOUND_DEVICE);
  char text[256];
  ASSERT_TRUE(mciGetErrorStringA(first, text, sizeof text));
  EXPECT_NE(std::string(text).find("No sound device"), std::string::npos);
  EXPECT_EQ(mciSendStringA("play w wait", nullptr, 0, nullptr), 0u);
  char reply[32];
  EXPECT_EQ(mciSendStringA("status w position", reply, sizeof reply, nullptr), 0u);
  EXPECT_STREQ(reply, "200");
  EXPECT_EQ(mciSendStringA("close w", nullptr, 0, nullptr), 0u);
  audio::shutdown();
}

}  // namespace
