// Without a sound device every play runs silently in real time and the user is
// told once; with the silent device chosen nothing is said. A binary of its own:
// the notice is given once per process.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "mci_fixture.h"
#include "media/disc_image.h"
#include "media_files.h"
#include "platform/audio/engine.h"
#include "platform/profile/profile.h"
#include "support/env_override.h"

namespace {

using mcitest::mci;
using mcitest::mci_error;
using mcitest::Notice;

std::vector<Notice> of_kind(const std::vector<Notice>& all, UINT message) {
  std::vector<Notice> out;
  for (const Notice& n : all)
    if (n.message == message) out.push_back(n);
  return out;
}

// Restarts the engine so it picks its device from the settings as they are now.
void restart_engine() {
  mciSendStringA("close all", nullptr, 0, nullptr);
  audio::shutdown();
  audio::start();
}

TEST(MciWithoutSoundDevice, PlaysRunSilentlyAndTheUserIsToldOnceUnlessTheSilentDeviceWasChosen) {
  TempHome home;
  mcitest::record_notices();
  const std::string wave = mcitest::write_sine_wav(home.file("a.wav"), 0.3, 44100, 1, 16);
  const std::string midi = mcitest::write_tempo_change_midi(home.file("b.mid"), 2);
  const std::string cue = testmedia::write_cd_image(home.path(), "disc", testmedia::cd_image_of({2.0, 1.0}));
  EnvOverride cdrom("QUORVIN_CDROM", cue.c_str());

  // The silent device chosen, by the environment or by platform.ini: nothing to say.
  const char* const chosen[][2] = {{"null", nullptr}, {"fast", nullptr}, {nullptr, "null"}, {nullptr, "fast"}};
  for (const auto& [env, ini] : chosen) {
    EnvOverride audio_env("QUORVIN_AUDIO", env);
    WritePrivateProfileStringA("Platform", "Output", ini, "platform.ini");
    restart_engine();
    ASSERT_EQ(audio::no_device_reason(), "");
    ASSERT_EQ(mci_error("open \"" + wave + "\" type waveaudio alias w"), 0u);
    EXPECT_EQ(mci("play w wait"), "");
    EXPECT_EQ(mci("status w position"), "300");
  }
  EXPECT_TRUE(of_kind(mcitest::take_notices(), MM_QUORVIN_NOTICE).empty());

  // No device found: wave, MIDI and CD plays all succeed and run in real time.
  EnvOverride missing("QUORVIN_AUDIO", "no-such-sound-device");
  restart_engine();
  ASSERT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
  ASSERT_NE(audio::no_device_reason(), "");
  ASSERT_EQ(mci_error("open \"" + wave + "\" type waveaudio alias w"), 0u);
  ASSERT_EQ(mci_error("open \"" + midi + "\" type sequencer alias mymidi"), 0u);
  ASSERT_EQ(mci_error("open cdaudio"), 0u);
  for (const std::string alias : {"w", "mymidi", "cdaudio"}) ASSERT_EQ(mci("set " + alias + " time format ms"), "");
  const long cd_start = std::stol(mci("status cdaudio position"));

  EXPECT_EQ(mci("play w notify"), "");
  EXPECT_EQ(mci("play mymidi notify"), "");
  EXPECT_EQ(mci("play cdaudio notify"), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_GT(std::stol(mci("status w position")), 0);
  // The MIDI play starts once its SoundFont, loading in the background, is ready.
  long midi_position = 0;
  for (int i = 0; i < 500 && midi_position == 0; ++i) {
    midi_position = std::stol(mci("status mymidi position"));
    if (midi_position == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_GT(midi_position, 0);
  EXPECT_GT(std::stol(mci("status cdaudio position")), cd_start);
  EXPECT_EQ(mci("status cdaudio mode"), "playing");

  // The wave's end arrives in real time.
  const LPARAM wave_id = mciGetDeviceIDA("w");
  std::vector<Notice> seen;
  bool ended = false;
  for (int i = 0; i < 500 && !ended; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (const Notice& n : mcitest::take_notices()) {
      seen.push_back(n);
      ended = ended || (n.message == MM_MCINOTIFY && n.code == MCI_NOTIFY_SUCCESSFUL && n.device == wave_id);
    }
  }
  ASSERT_TRUE(ended);
  EXPECT_EQ(mci("status w position"), "300");
  EXPECT_EQ(mci("play w from 0 notify"), "");

  const auto all = mcitest::take_notices();
  seen.insert(seen.end(), all.begin(), all.end());
  const auto notices = of_kind(seen, MM_QUORVIN_NOTICE);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].window, mcitest::test_window());
  EXPECT_EQ(notices[0].code, MCIERR_NO_SOUND_DEVICE);
  EXPECT_EQ(notices[0].device, wave_id);
  char text[256];
  ASSERT_TRUE(mciGetNoticeTextA(notices[0].code, text, sizeof text));
  EXPECT_EQ(std::string(text), audio::no_device_reason() + " The player runs silently.");
  EXPECT_FALSE(mciGetNoticeTextA(MCI_NOTIFY_SUCCESSFUL, text, sizeof text));
}

}  // namespace
