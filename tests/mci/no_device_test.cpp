// Without a sound device every play runs silently in real time and the user is
// told once; with the silent device chosen nothing is said. A binary of its own:
// the notice is given once per process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/disc_image.h"
#include "media_files.h"
#include "platform/audio/engine.h"
#include "platform/mci/mmsystem.h"
#include "platform/profile/profile.h"
#include "support/env_override.h"
#include "support/temp_home.h"

namespace {

struct Posted {
  HWND window;
  UINT message;
  WPARAM code;
  LPARAM device;
};
std::mutex g_mutex;
std::vector<Posted> g_posted;

void record(HWND window, UINT message, WPARAM code, LPARAM device) {
  std::lock_guard lock(g_mutex);
  g_posted.push_back({window, message, code, device});
}

std::vector<Posted> posted(UINT message) {
  std::lock_guard lock(g_mutex);
  std::vector<Posted> out;
  for (const Posted& p : g_posted)
    if (p.message == message) out.push_back(p);
  return out;
}

HWND player_window() { return reinterpret_cast<HWND>(0x5678); }

std::string mci(const std::string& command) {
  char reply[128];
  const MCIERROR err = mciSendStringA(command.c_str(), reply, sizeof reply, player_window());
  return err == 0 ? std::string(reply) : "error " + std::to_string(err);
}

long number(const std::string& command) { return std::stol(mci(command)); }
MCIERROR send(const std::string& command) { return mciSendStringA(command.c_str(), nullptr, 0, player_window()); }

// Waits in real time for `done`, at most `seconds`.
bool eventually(const std::function<bool()>& done, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Restarts the engine so it picks its device from the settings as they are now.
void restart_engine() {
  mciSendStringA("close all", nullptr, 0, nullptr);
  audio::shutdown();
  audio::start();
}

TEST(MciWithoutSoundDevice, PlaysRunSilentlyAndTheUserIsToldOnceUnlessTheSilentDeviceWasChosen) {
  TempHome home;
  mci_set_notify_poster(record);
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
    ASSERT_EQ(send("open \"" + wave + "\" type waveaudio alias w"), 0u);
    EXPECT_EQ(mci("play w wait"), "");
    EXPECT_EQ(mci("status w position"), "300");
  }
  EXPECT_TRUE(posted(MM_QUORVIN_NOTICE).empty());

  // No device found: wave, MIDI and CD plays all succeed and run in real time.
  EnvOverride missing("QUORVIN_AUDIO", "no-such-sound-device");
  restart_engine();
  ASSERT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
  ASSERT_NE(audio::no_device_reason(), "");
  ASSERT_EQ(send("open \"" + wave + "\" type waveaudio alias w"), 0u);
  ASSERT_EQ(send("open \"" + midi + "\" type sequencer alias mymidi"), 0u);
  ASSERT_EQ(send("open cdaudio"), 0u);
  for (const char* alias : {"w", "mymidi", "cdaudio"})
    ASSERT_EQ(mci(std::string("set ") + alias + " time format milliseconds"), "");
  const long cd_start = number("status cdaudio position");

  EXPECT_EQ(mci("play w notify"), "");
  EXPECT_EQ(mci("play mymidi notify"), "");
  EXPECT_EQ(mci("play cdaudio notify"), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_GT(number("status w position"), 0);
  EXPECT_GT(number("status mymidi position"), 0);
  EXPECT_GT(number("status cdaudio position"), cd_start);
  EXPECT_EQ(mci("status cdaudio mode"), "playing");

  const LPARAM wave_id = mciGetDeviceIDA("w");
  ASSERT_TRUE(eventually(
      [&] {
        for (const Posted& p : posted(MM_MCINOTIFY))
          if (p.code == MCI_NOTIFY_SUCCESSFUL && p.device == wave_id) return true;
        return false;
      },
      5.0));
  EXPECT_EQ(mci("status w position"), "300");
  EXPECT_EQ(mci("play w from 0 notify"), "");

  const auto notices = posted(MM_QUORVIN_NOTICE);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].window, player_window());
  EXPECT_EQ(notices[0].code, MCIERR_NO_SOUND_DEVICE);
  EXPECT_EQ(notices[0].device, wave_id);
  char text[256];
  ASSERT_TRUE(mciGetNoticeTextA(notices[0].code, text, sizeof text));
  EXPECT_EQ(std::string(text), audio::no_device_reason() + " The player runs silently.");
  EXPECT_FALSE(mciGetNoticeTextA(MCI_NOTIFY_SUCCESSFUL, text, sizeof text));
  EXPECT_STREQ(text, "");

  mciSendStringA("close all", nullptr, 0, nullptr);
  audio::shutdown();
}

}  // namespace
