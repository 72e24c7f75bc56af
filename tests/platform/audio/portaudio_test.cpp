// The PortAudio driver against a real ALSA device: ALSA's "null" plugin, named
// in a private ~/.asoundrc, so it runs on machines without a sound card. ALSA
// reads its configuration once per process, hence the child process.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "child_process.h"
#include "engine_fixture.h"

namespace audio_test {
namespace {

constexpr const char* kFlag = "QUORVIN_PORTAUDIO_CHILD";

TEST(PortAudioDriver, ChildPlaysAndCapturesOnAnAlsaNullDevice) {
  const char* home = std::getenv(kFlag);
  if (!home) GTEST_SKIP() << "the PortAudio test's child process";
  setenv("HOME", home, 1);
  audio::shutdown();
  audio::start({"quorvintest", "quorvintest"});
  ASSERT_EQ(audio::device_kind(), audio::DeviceKind::Real) << audio::no_device_reason();
  EXPECT_EQ(audio::no_device_reason(), "");

  std::atomic<int> finished{0};
  const auto v = audio::voice_create(audio::Line::Wave);
  audio::voice_play(v, constant(22050, 0.25f), [&](audio::EndReason r) {
    if (r == audio::EndReason::Finished) ++finished;
  });
  const auto begin = std::chrono::steady_clock::now();
  while (!finished && std::chrono::steady_clock::now() - begin < std::chrono::seconds(20))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(finished.load(), 1);
  EXPECT_EQ(audio::voice_frames_played(v), 22050u);

  std::atomic<std::size_t> captured{0};
  std::string error;
  ASSERT_TRUE(audio::capture_start(22050, 1, [&](const float*, std::size_t n) { captured += n; }, &error)) << error;
  const auto capture_begin = std::chrono::steady_clock::now();
  while (captured < 22050 && std::chrono::steady_clock::now() - capture_begin < std::chrono::seconds(20))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  audio::capture_stop();
  EXPECT_GE(captured.load(), 22050u);
  audio::shutdown();
}

TEST(PortAudioDriver, PlaysAndCapturesOnARealAlsaDevice) {
  if (std::getenv(kFlag)) GTEST_SKIP();
  TempHome home;
  std::ofstream(home.file(".asoundrc")) << "pcm.quorvintest {\n  type null\n  hint { show on description \"test\" }\n}\n";
  const pid_t child = spawn_test("PortAudioDriver.ChildPlaysAndCapturesOnAnAlsaNullDevice", kFlag, home.path());
  ASSERT_GT(child, 0);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child's test failed (its output is above)";
}

}  // namespace
}  // namespace audio_test
