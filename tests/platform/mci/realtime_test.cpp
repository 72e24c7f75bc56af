// On the real-time null device a play's end is recorded on the engine's
// notifier thread, some time after the voice stops. A binary of its own: the
// engine picks its device once per process.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "media_files.h"
#include "platform/audio/engine.h"
#include "platform/mci/mmsystem.h"
#include "support/temp_home.h"

namespace {

std::string send(const std::string& command) {
  char reply[64] = "";
  const MCIERROR error = mciSendStringA(command.c_str(), reply, sizeof reply, nullptr);
  return error == 0 ? reply : "error " + std::to_string(error);
}

// A wait must not return before the end is recorded, however late the notifier
// gets to it. Another voice whose end callback dawdles holds the notifier up
// while the waited-for play ends behind it.
TEST(MciRealtime, PlayWaitReturnsOnlyOnceTheModeReadsStopped) {
  TempHome home;
  setenv("QUORVIN_AUDIO", "null", 1);
  const std::string path = mcitest::write_sine_wav(home.file("blip.wav"), 0.1, 44100, 1, 16);
  ASSERT_EQ(send("open \"" + path + "\" type waveaudio alias w").rfind("error", 0), std::string::npos);
  ASSERT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
  const audio::VoiceId dawdler = audio::voice_create(audio::Line::Synth);
  ASSERT_GE(dawdler, 0);
  for (int i = 0; i < 3; ++i) {
    auto left = std::make_shared<std::size_t>(441);  // 10 ms of silence
    audio::voice_play(
        dawdler,
        [left](float* stereo, std::size_t frames) {
          const std::size_t n = std::min(frames, *left);
          std::fill(stereo, stereo + 2 * n, 0.0f);
          *left -= n;
          return n;
        },
        [](audio::EndReason) { std::this_thread::sleep_for(std::chrono::milliseconds(250)); });
    ASSERT_EQ(send("play w from 0 to 40 wait"), "");
    EXPECT_EQ(send("status w mode"), "stopped") << "play " << i;
    EXPECT_EQ(send("status w position"), "40");
  }
  audio::voice_destroy(dawdler);
  EXPECT_EQ(send("close w"), "");
  audio::shutdown();
}

// A device that fails under a waited play ends the wait with its error, the
// position where the sound stopped; the silent device then keeps real time.
TEST(MciRealtime, ADeviceFailingUnderAWaitedPlayEndsTheWaitWithItsError) {
  TempHome home;
  setenv("QUORVIN_AUDIO", "null", 1);
  const std::string path = mcitest::write_sine_wav(home.file("long.wav"), 2.0, 44100, 1, 16);
  ASSERT_EQ(send("open \"" + path + "\" type waveaudio alias w").rfind("error", 0), std::string::npos);
  std::thread driver([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    audio::fail_output_for_testing("a driver error");
  });
  EXPECT_EQ(send("play w wait"), "error " + std::to_string(MCIERR_SOUND_DEVICE_FAILED));
  driver.join();
  EXPECT_EQ(send("status w mode"), "stopped");
  const long at = std::stol(send("status w position"));
  EXPECT_GT(at, 100);
  EXPECT_LT(at, 1900);
  EXPECT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
  const auto again = std::chrono::steady_clock::now();
  EXPECT_EQ(send("play w from 0 to 200 wait"), "");
  EXPECT_GE(std::chrono::steady_clock::now() - again, std::chrono::milliseconds(150)) << "paced, not fast";
  EXPECT_EQ(send("close w"), "");
  audio::shutdown();
}

}  // namespace
