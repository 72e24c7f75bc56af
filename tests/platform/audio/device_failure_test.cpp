// An output device that stops working under the plays (a driver error, a card
// unplugged): every play ends Failed, the engine goes on on the silent device,
// and the next play works.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine_fixture.h"
#include "platform/audio/engine.h"

namespace audio_test {
namespace {

using audio::EndReason;
using audio::Line;

template <typename Pred>
bool wait_until(Pred pred, int ms) {
  for (int waited = 0; !pred() && waited < ms; waited += 5) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return pred();
}

TEST_F(EngineTest, AFailedDeviceEndsEveryPlayAsFailedAndTheNextPlayRuns) {
  Ends wave_ends, synth_ends, paused_ends;
  const auto wave = audio::voice_create(Line::Wave);
  const auto synth = audio::voice_create(Line::Synth);
  const auto paused = audio::voice_create(Line::CD);
  audio::voice_play(wave, constant(0, 0.25f), wave_ends.callback());
  audio::voice_play(synth, constant(0, 0.25f), synth_ends.callback());
  audio::voice_play(paused, constant(0, 0.25f), paused_ends.callback());
  audio::voice_pause(paused, true);
  ASSERT_EQ(audio::run_fast(8192), 8192u);
  const std::uint64_t before = audio::output_failure().serial;

  audio::fail_output_for_testing("the card was unplugged");
  EXPECT_EQ(audio::run_fast(8192), 0u) << "a failed device takes no frames";
  EXPECT_EQ(wave_ends.reasons(), std::vector{EndReason::Failed});
  EXPECT_EQ(synth_ends.reasons(), std::vector{EndReason::Failed});
  EXPECT_EQ(paused_ends.reasons(), std::vector{EndReason::Failed});
  EXPECT_EQ(audio::voice_frames_played(wave), 8192u) << "the position stays where the sound stopped";
  EXPECT_FALSE(audio::voice_active(wave));
  const audio::OutputFailure failure = audio::output_failure();
  EXPECT_EQ(failure.serial, before + 1);
  EXPECT_EQ(failure.reason, "the card was unplugged");
  EXPECT_EQ(audio::device_kind(), audio::DeviceKind::NullFast);
  EXPECT_EQ(audio::no_device_reason(), "") << "a device was found; it failed later";

  Ends next;
  audio::voice_play(wave, constant(3000, 0.25f), next.callback());
  EXPECT_GE(audio::run_fast(100000), 3000u);
  EXPECT_EQ(next.reasons(), std::vector{EndReason::Finished});
  EXPECT_EQ(audio::voice_frames_played(wave), 3000u);
  EXPECT_EQ(audio::output_failure().serial, before + 1) << "the device that took over is well";
}

// On the real-time device the failure is noticed by the engine itself, with
// nobody asking; the clock goes on on the silent device. Stop and shutdown
// after it stay quiet.
TEST_F(EngineTest, ARealTimeDeviceThatFailsIsReplacedWithoutBeingAsked) {
  audio::shutdown();
  audio::start({"null", ""});
  Ends ends;
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, constant(0, 0.25f), ends.callback());
  ASSERT_TRUE(wait_until([&] { return audio::voice_frames_played(v) > 0; }, 5000));
  const std::uint64_t before = audio::output_failure().serial;

  audio::fail_output_for_testing("the driver gave up");
  ASSERT_TRUE(wait_until([&] { return !ends.reasons().empty(); }, 5000));
  EXPECT_EQ(ends.reasons(), std::vector{EndReason::Failed});
  EXPECT_EQ(audio::output_failure().serial, before + 1);
  EXPECT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);

  Ends next;
  audio::voice_play(v, constant(2205, 0.25f), next.callback());
  ASSERT_TRUE(wait_until([&] { return !next.reasons().empty(); }, 5000)) << "the silent device keeps the clock";
  EXPECT_EQ(next.reasons(), std::vector{EndReason::Finished});
  EXPECT_EQ(audio::voice_frames_played(v), 2205u);
  audio::voice_stop(v);
  audio::shutdown();
  EXPECT_EQ(next.reasons().size(), 1u);
}

}  // namespace
}  // namespace audio_test
