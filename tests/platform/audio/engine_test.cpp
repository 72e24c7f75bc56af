#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "engine_fixture.h"
#include "support/env_override.h"
#include "media.h"
#include "platform/audio/engine.h"
#include "platform/audio/wave_file.h"

namespace audio_test {
namespace {

using audio::EndReason;
using audio::Line;

std::size_t nonzero_frames(const std::vector<float>& s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i + 1 < s.size(); i += 2)
    if (s[i] != 0.0f || s[i + 1] != 0.0f) ++n;
  return n;
}

TEST_F(EngineTest, FastDevicePlaysAVoiceToTheEndAndFinishesOnce) {
  EXPECT_EQ(audio::device_kind(), audio::DeviceKind::NullFast);
  Capture out;
  out.install();
  std::atomic<std::size_t> frames_out_at_end{0};
  std::atomic<int> ends{0};
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, constant(10000, 0.25f), [&](EndReason r) {
    EXPECT_EQ(r, EndReason::Finished);
    frames_out_at_end = nonzero_frames(out.take());
    ++ends;
  });
  EXPECT_TRUE(audio::voice_active(v));
  EXPECT_GE(audio::run_fast(1'000'000), 10000u);
  EXPECT_EQ(ends.load(), 1);
  EXPECT_EQ(frames_out_at_end.load(), 10000u) << "Finished came before every frame was output";
  EXPECT_EQ(audio::voice_frames_played(v), 10000u);
  EXPECT_FALSE(audio::voice_active(v));
  EXPECT_EQ(audio::run_fast(100000), 0u) << "an idle engine has nothing to run";
  audio::voice_stop(v);
  audio::flush_end_callbacks();
  EXPECT_EQ(ends.load(), 1);
}

TEST_F(EngineTest, StopGivesStoppedAndNeverFinished) {
  Ends ends;
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, constant(20000, 0.1f), ends.callback());
  audio::run_fast(5000);
  audio::voice_stop(v);
  EXPECT_FALSE(audio::voice_active(v));
  audio::run_fast(100000);
  audio::voice_stop(v);
  EXPECT_EQ(ends.reasons(), std::vector{EndReason::Stopped});
}

TEST_F(EngineTest, StopBeforeTheFirstFrameStillEndsThePlayOnce) {
  Ends ends;
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, constant(0, 0.1f), ends.callback());
  audio::voice_stop(v);
  audio::voice_destroy(v);
  EXPECT_EQ(ends.reasons(), std::vector{EndReason::Stopped});
}

TEST_F(EngineTest, ANewPlayStopsTheCurrentOne) {
  Ends first, second;
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, constant(0, 0.1f), first.callback());
  audio::run_fast(4096);
  audio::voice_play(v, constant(3000, 0.1f), second.callback());
  EXPECT_EQ(audio::voice_frames_played(v), 0u) << "the count belongs to the new play";
  audio::run_fast(100000);
  EXPECT_EQ(first.reasons(), std::vector{EndReason::Stopped});
  EXPECT_EQ(second.reasons(), std::vector{EndReason::Finished});
  EXPECT_EQ(audio::voice_frames_played(v), 3000u);
}

TEST_F(EngineTest, ShutdownStopsWhatPlays) {
  Ends ends;
  audio::voice_play(audio::voice_create(Line::CD), constant(0, 0.1f), ends.callback());
  audio::run_fast(1000);
  audio::shutdown();
  EXPECT_EQ(ends.reasons(), std::vector{EndReason::Stopped});
}

TEST_F(EngineTest, PauseHoldsThePositionAndResumeContinues) {
  Capture out;
  out.install();
  Ends ends;
  const auto v = audio::voice_create(Line::Synth);
  audio::voice_play(v, constant(50000, 0.5f), ends.callback());
  audio::run_fast(8192);
  const auto before = audio::voice_frames_played(v);
  EXPECT_EQ(before, 8192u);
  audio::voice_pause(v, true);
  out.take();
  audio::run_fast(8192);
  EXPECT_EQ(audio::voice_frames_played(v), before);
  EXPECT_EQ(nonzero_frames(out.take()), 0u) << "a paused voice is silent";
  EXPECT_TRUE(audio::voice_active(v));
  audio::voice_pause(v, false);
  audio::run_fast(1'000'000);
  EXPECT_EQ(audio::voice_frames_played(v), 50000u);
  EXPECT_EQ(nonzero_frames(out.take()), 50000u - before) << "nothing buffered was dropped by the pause";
  EXPECT_EQ(ends.reasons(), std::vector{EndReason::Finished});
}

TEST_F(EngineTest, VoicesOnTheSameLineAddUp) {
  Capture out;
  out.install();
  audio::voice_play(audio::voice_create(Line::Wave), constant(4096, 0.25f), nullptr);
  audio::voice_play(audio::voice_create(Line::Wave), constant(4096, 0.125f), nullptr);
  audio::voice_play(audio::voice_create(Line::CD), constant(4096, 0.0625f), nullptr);
  audio::run_fast(4096);
  const auto s = out.take();
  ASSERT_GE(s.size(), 2u * 4096);
  EXPECT_FLOAT_EQ(s[100], 0.4375f);
}

TEST_F(EngineTest, VoicesAreSourcesOfTheMixedLinesOnly) {
  EXPECT_EQ(audio::voice_create(Line::Master), -1);
  EXPECT_EQ(audio::voice_create(Line::LineIn), -1);
  std::vector<audio::VoiceId> ids;
  for (;;) {
    const auto v = audio::voice_create(Line::CD);
    if (v < 0) break;
    ids.push_back(v);
  }
  EXPECT_EQ(ids.size(), 32u);
  audio::voice_destroy(ids[7]);
  EXPECT_EQ(audio::voice_create(Line::Synth), ids[7]) << "a destroyed voice is free again";
  Ends ends;
  audio::voice_play(ids[7] + 1000, constant(10, 0.1f), ends.callback());
  EXPECT_EQ(ends.reasons(), std::vector{EndReason::Stopped}) << "an unknown voice ends the play at once";
}

TEST_F(EngineTest, AWaveFilePlaysItsFullLength) {
  const std::string path = home_.file("a.wav");
  write_sine(path, 44100, 2, 1.0, 440.0);
  std::string error;
  auto producer = audio::make_wave_producer(path, 0, audio::kToEnd, &error);
  ASSERT_TRUE(producer) << error;
  Ends ends;
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, producer, ends.callback());
  audio::run_fast(10'000'000);
  EXPECT_EQ(audio::voice_frames_played(v), 44100u);
  EXPECT_EQ(ends.reasons(), std::vector{EndReason::Finished});
}

// The output level of a constant 0.5 signal after `gain` settles.
class GainTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    out_.install();
    voice_ = audio::voice_create(Line::Wave);
    audio::voice_play(voice_, constant(0, 0.5f), nullptr);
    audio::run_fast(4096);
    out_.take();
  }
  std::vector<float> next_block() {
    audio::run_fast(4096);
    return out_.take();
  }
  static float largest_step(const std::vector<float>& s, std::size_t channel) {
    float step = 0.0f;
    for (std::size_t i = 2 + channel; i < s.size(); i += 2) step = std::max(step, std::fabs(s[i] - s[i - 2]));
    return step;
  }

  Capture out_;
  audio::VoiceId voice_ = -1;
};

TEST_F(GainTest, LineGainStepsDownSmoothly) {
  EXPECT_FLOAT_EQ(next_block().back(), 0.5f);
  audio::set_line_gain(Line::Wave, 0.25f, 0.5f);
  const auto ramp = next_block();
  EXPECT_LT(largest_step(ramp, 0), 0.001f) << "a gain step must ramp, not jump";
  const auto settled = next_block();
  EXPECT_FLOAT_EQ(settled[0], 0.125f);
  EXPECT_FLOAT_EQ(settled[1], 0.25f);
  EXPECT_NEAR(audio::line_peak(Line::Wave), 0.5f, 1e-6f) << "the peak since the last read, ramp included";
  next_block();
  EXPECT_NEAR(audio::line_peak(Line::Wave), 0.25f, 1e-6f);
  EXPECT_EQ(audio::line_peak(Line::CD), 0.0f);
}

TEST_F(GainTest, MutedLineIsSilentAndUnmuteRestoresIt) {
  audio::set_line_mute(Line::Wave, true);
  const auto ramp = next_block();
  EXPECT_LT(largest_step(ramp, 0), 0.001f);
  const auto muted = next_block();
  EXPECT_EQ(*std::max_element(muted.begin(), muted.end()), 0.0f);
  audio::set_line_mute(Line::CD, false);
  audio::set_line_mute(Line::Wave, false);
  next_block();
  EXPECT_FLOAT_EQ(next_block()[10], 0.5f);
}

TEST_F(GainTest, MutingAnotherLineLeavesThisOne) {
  audio::set_line_mute(Line::CD, true);
  audio::set_line_gain(Line::Synth, 0.0f, 0.0f);
  next_block();
  EXPECT_FLOAT_EQ(next_block()[10], 0.5f);
}

TEST_F(GainTest, MasterGainAndMuteApplyToEverything) {
  audio::set_line_gain(Line::Master, 0.5f, 0.5f);
  next_block();
  EXPECT_FLOAT_EQ(next_block()[10], 0.25f);
  audio::set_line_mute(Line::Master, true);
  next_block();
  const auto muted = next_block();
  EXPECT_EQ(*std::max_element(muted.begin(), muted.end()), 0.0f);
}

TEST_F(EngineTest, WideningRaisesTheSideAndOffIsBitExact) {
  Capture out;
  out.install();
  auto sample = [](std::uint64_t i) {
    return std::pair{sine_sample(440, 44100, i, 0.4f), sine_sample(660, 44100, i, 0.3f)};
  };
  audio::voice_play(audio::voice_create(Line::Wave), generated(0, sample), nullptr);
  auto side_rms = [](const std::vector<float>& s) {
    double sum = 0;
    for (std::size_t i = 0; i + 1 < s.size(); i += 2) sum += 0.25 * (s[i] - s[i + 1]) * (s[i] - s[i + 1]);
    return std::sqrt(sum / (s.size() / 2));
  };
  audio::run_fast(8192);
  const double plain = side_rms(out.take());
  audio::set_widening(true);
  audio::run_fast(4096);  // the switch ramps over one period
  out.take();
  audio::run_fast(8192);
  const double wide = side_rms(out.take());
  EXPECT_GT(wide, plain * 1.5);

  audio::set_widening(false);
  audio::run_fast(4096);
  out.take();
  const std::uint64_t first = 8192 + 4096 + 8192 + 4096;
  audio::run_fast(8192);
  const auto s = out.take();
  ASSERT_EQ(s.size(), 2u * 8192);
  for (std::size_t i = 0; i < 8192; ++i) {
    const auto [l, r] = sample(first + i);
    ASSERT_EQ(s[2 * i], l) << "frame " << i;
    ASSERT_EQ(s[2 * i + 1], r) << "frame " << i;
  }
}

TEST(EngineDevices, AMissingDeviceFallsBackToTheRealTimeNullDeviceAndSaysWhy) {
  TempHome home;
  audio::shutdown();
  audio::start({"Quorvin test: no such device", ""});
  EXPECT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
  EXPECT_FALSE(audio::no_device_reason().empty());
  audio::shutdown();
  audio::start({"null", ""});
  EXPECT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
  EXPECT_EQ(audio::no_device_reason(), "") << "the null device was asked for: nothing is missing";
  audio::shutdown();
}


TEST(EngineDevices, TheDefaultDeviceOpensOrTheReasonIsPlainAndNothingIsPrinted) {
  TempHome home;
  EnvOverride env("QUORVIN_AUDIO", std::getenv("QUORVIN_AUDIO"));
  setenv("QUORVIN_AUDIO", "", 1);  // set but empty: the user's default device
  audio::shutdown();
  fflush(stderr);
  const int saved = dup(2);
  const std::string log = home.file("stderr.txt");
  const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(fd, 2);
  audio::start();
  fflush(stderr);
  dup2(saved, 2);
  close(fd);
  close(saved);
  std::ifstream in(log);
  const std::string printed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(printed.find("ALSA lib"), std::string::npos) << printed;
  if (audio::device_kind() == audio::DeviceKind::Real) {
    EXPECT_EQ(audio::no_device_reason(), "");
  } else {
    EXPECT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
    EXPECT_EQ(audio::no_device_reason(), "No sound device was found.");
  }
  audio::shutdown();
}

TEST(EngineDevices, TheOutputComesFromPlatformIniWhenTheEnvironmentIsSilent) {
  TempHome home;
  EnvOverride env("QUORVIN_AUDIO", std::getenv("QUORVIN_AUDIO"));
  unsetenv("QUORVIN_AUDIO");
  std::ofstream(home.file("platform.ini")) << "[Platform]\nOutput=null\n";
  audio::shutdown();
  audio::start();
  EXPECT_EQ(audio::device_kind(), audio::DeviceKind::NullRealtime);
  EXPECT_EQ(audio::no_device_reason(), "");
  audio::shutdown();
}

TEST(EngineDevices, ThePlayGoesOnWhenTheOutputMovesToAnotherDevice) {
  TempHome home;
  audio::shutdown();
  audio::start({"null", ""});
  audio_test::Ends ends;
  const audio::VoiceId voice = audio::voice_create(Line::Wave);
  audio::voice_play(voice, audio_test::constant(0, 0.1f), ends.callback());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::uint64_t before = audio::voice_frames_played(voice);
  // A card that is not there: the output lands on the silent device again, and says why.
  EXPECT_EQ(audio::switch_output("Quorvin test: no such device"), audio::DeviceKind::NullRealtime);
  EXPECT_FALSE(audio::no_device_reason().empty());
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_GT(audio::voice_frames_played(voice), before + 2048) << "the voice stopped with the old device";
  EXPECT_TRUE(audio::voice_active(voice));
  EXPECT_TRUE(ends.reasons().empty());
  audio::voice_stop(voice);
  audio::shutdown();
}

TEST(EngineDevices, AProducerTooSlowForThePaceIsCountedAsUnderruns) {
  TempHome home;
  audio::shutdown();
  audio::start({"null", ""});
  EXPECT_EQ(audio::underrun_count(), 0u);
  auto slow = constant(0, 0.1f);
  audio::voice_play(audio::voice_create(Line::Wave),
                    [slow](float* stereo, std::size_t frames) {
                      // Half the pace: a disc that cannot keep up.
                      std::this_thread::sleep_for(std::chrono::microseconds(frames * 2'000'000 / 44100));
                      return slow(stereo, frames);
                    },
                    nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_GT(audio::underrun_count(), 5u);
  audio::shutdown();
}

TEST(EngineDevices, AStalledDiscDoesNotStarveAWaveFile) {
  TempHome home;
  audio::shutdown();
  audio::start({"null", ""});
  auto disc = constant(0, 0.1f);
  std::atomic<bool> spun_up{false};
  audio::voice_play(audio::voice_create(Line::CD),
                    [disc, &spun_up](float* stereo, std::size_t frames) {
                      if (!spun_up.exchange(true)) std::this_thread::sleep_for(std::chrono::seconds(2));
                      return disc(stereo, frames);
                    },
                    nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the disc's reader is stuck now
  std::atomic<bool> finished{false};
  audio::voice_play(audio::voice_create(Line::Wave), constant(44100 / 2, 0.1f),
                    [&](EndReason r) { finished = r == EndReason::Finished; });
  const auto begin = std::chrono::steady_clock::now();
  while (!finished && std::chrono::steady_clock::now() - begin < std::chrono::seconds(5))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(finished);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(1500));
  EXPECT_EQ(audio::underrun_count(), 0u);
  audio::shutdown();
}

TEST(EngineDevices, TheRealTimeNullDeviceKeepsThePace) {
  TempHome home;
  audio::shutdown();
  audio::start({"null", ""});
  std::atomic<bool> finished{false};
  const auto begin = std::chrono::steady_clock::now();
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, constant(44100 / 4, 0.1f), [&](EndReason r) { finished = r == EndReason::Finished; });
  while (!finished && std::chrono::steady_clock::now() - begin < std::chrono::seconds(10))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const auto took = std::chrono::steady_clock::now() - begin;
  EXPECT_TRUE(finished);
  EXPECT_GE(took, std::chrono::milliseconds(240)) << "a quarter second of sound cannot end sooner";
  EXPECT_EQ(audio::voice_frames_played(v), 44100u / 4);
  EXPECT_EQ(audio::run_fast(1000), 0u) << "run_fast is for the fast device only";
  audio::shutdown();
}

// Time slices every thread but the caller's got so far: a resting engine adds none.
std::uint64_t other_threads_slices() {
  const std::string mine = std::to_string(gettid());
  std::uint64_t slices = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    if (task.path().filename() == mine) continue;
    std::ifstream stat(task.path() / "schedstat");
    std::uint64_t on_cpu = 0, waited = 0, count = 0;
    if (stat >> on_cpu >> waited >> count) slices += count;
  }
  return slices;
}

bool wait_for_end(const std::atomic<int>& ended, int count) {
  for (int i = 0; i < 2000 && ended.load() < count; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return ended.load() >= count;
}

// The paced null device, with the wave deck's line heard at full volume.
void start_paced_at_full_volume() {
  audio::shutdown();
  audio::start({"null", ""});
  for (Line line : {Line::Master, Line::Wave}) {  // earlier tests may have left them down
    audio::set_line_gain(line, 1.0f, 1.0f);
    audio::set_line_mute(line, false);
  }
}

TEST(EngineDevices, AnIdleEngineRestsAndTheNextPlayStartsItWithoutAGap) {
  TempHome home;
  start_paced_at_full_volume();
  Capture out;
  out.install();
  std::atomic<int> ended{0};
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, constant(44100 / 8, 0.1f), [&](EndReason) { ++ended; });
  ASSERT_TRUE(wait_for_end(ended, 1));

  // A second after the last play the device stops and no engine thread wakes.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const std::size_t frames_at_rest = out.frames();
  const std::uint64_t slices_at_rest = other_threads_slices();
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(out.frames(), frames_at_rest) << "the paced device went on while nothing played";
  EXPECT_EQ(other_threads_slices(), slices_at_rest) << "an engine thread woke while nothing played";

  // The next play starts the device: its frames come out whole and in one run.
  out.take();
  audio::voice_play(v, constant(44100 / 4, 0.5f), [&](EndReason r) { ended += r == EndReason::Finished ? 1 : 100; });
  ASSERT_TRUE(wait_for_end(ended, 2));
  EXPECT_EQ(ended.load(), 2);
  EXPECT_EQ(audio::voice_frames_played(v), 44100u / 4);
  const std::vector<float> played = out.take();
  std::size_t first = played.size(), last = 0, loud = 0;
  for (std::size_t i = 0; i < played.size(); i += 2)
    if (played[i] > 0.4f) {
      first = std::min(first, i);
      last = i;
      ++loud;
    }
  EXPECT_EQ(loud, 44100u / 4);
  EXPECT_EQ((last - first) / 2 + 1, loud) << "a gap in the sound after the device started again";
  EXPECT_EQ(audio::underrun_count(), 0u);

  // A play stopped while the device rests still ends, once.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  audio::voice_play(v, constant(0, 0.1f), [&](EndReason r) { ended += r == EndReason::Stopped ? 1 : 100; });
  audio::voice_stop(v);
  ASSERT_TRUE(wait_for_end(ended, 3));
  audio::flush_end_callbacks();
  EXPECT_EQ(ended.load(), 3);
  audio::set_output_tap(nullptr);
  audio::shutdown();
}

// Paused, a play lets the engine rest as if nothing played; resumed, the rest of
// its sound comes out whole.
TEST(EngineDevices, APausedPlayLetsTheEngineRestAndResumesWhole) {
  TempHome home;
  start_paced_at_full_volume();
  Capture out;
  out.install();
  std::atomic<int> ended{0};
  const auto v = audio::voice_create(Line::Wave);
  audio::voice_play(v, constant(44100, 0.5f), [&](EndReason r) { ended += r == EndReason::Finished ? 1 : 100; });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  audio::voice_pause(v, true);

  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const std::size_t frames_at_rest = out.frames();
  const std::uint64_t slices_at_rest = other_threads_slices();
  const std::uint64_t played_before = audio::voice_frames_played(v);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(out.frames(), frames_at_rest) << "the paced device went on under a pause";
  EXPECT_EQ(other_threads_slices(), slices_at_rest) << "an engine thread woke under a pause";
  EXPECT_GT(played_before, 0u);
  EXPECT_LT(played_before, 44100u);

  audio::voice_pause(v, false);
  ASSERT_TRUE(wait_for_end(ended, 1));
  EXPECT_EQ(ended.load(), 1);
  EXPECT_EQ(audio::voice_frames_played(v), 44100u);
  const std::vector<float> played = out.take();
  std::size_t loud = 0;
  for (std::size_t i = 0; i < played.size(); i += 2) loud += played[i] > 0.4f;
  EXPECT_EQ(loud, 44100u) << "frames lost or repeated across the pause";
  EXPECT_EQ(audio::underrun_count(), 0u);

  // A play stopped while it rests paused still ends, once.
  audio::voice_play(v, constant(44100, 0.5f), [&](EndReason r) { ended += r == EndReason::Stopped ? 1 : 100; });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  audio::voice_pause(v, true);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  audio::voice_stop(v);
  ASSERT_TRUE(wait_for_end(ended, 2));
  audio::flush_end_callbacks();
  EXPECT_EQ(ended.load(), 2);
  audio::set_output_tap(nullptr);
  audio::shutdown();
}

}  // namespace
}  // namespace audio_test
