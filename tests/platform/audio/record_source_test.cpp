// The recording source: the capture device, or the rack's own mix taken inside
// the engine; which one is chosen, and what happens when the chosen one is missing.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine_fixture.h"
#include "media.h"
#include "platform/audio/mix_graph.h"
#include "platform/audio/recorder.h"
#include "support/env_override.h"

namespace audio_test {
namespace {

constexpr double kTone = 440.0;
// The engine's longest block: a change of the master volume ramps over it.
constexpr std::size_t kRampFrames = 4096;

std::string platform_ini(const TempHome& home) {
  std::ifstream in(home.file("platform.ini"));
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Records `frames` engine frames from the chosen source while a 440 Hz tone of
// amplitude 0.5 plays on the wave line; returns the recording's samples.
std::vector<float> record_while_playing(std::uint64_t frames, std::string* error) {
  audio::Recorder rec;
  if (!rec.create({44100, 2, 16}, "", error)) return {};
  const auto voice = audio::voice_create(audio::Line::Wave);
  audio::voice_play(voice, generated(0, [](std::uint64_t i) {
                      const float s = sine_sample(kTone, 44100, i);
                      return std::pair{s, s};
                    }),
                    nullptr);
  if (!rec.record(0, error)) return {};
  audio::run_fast(frames);
  rec.stop();
  audio::voice_destroy(voice);
  return read_all(rec.temp_path());
}

using RecordSourceTest = EngineTest;

// Without a capture device the rack records its own mix: exactly what is heard
// before the master volume and mute, after the decks' volumes and the 3D effect.
TEST_F(RecordSourceTest, WithoutACaptureDeviceTheRackRecordsItsOwnMix) {
  EnvOverride source("QUORVIN_RECORD_SOURCE", nullptr);
  EXPECT_FALSE(audio::capture_device_present()) << "a null output implies no microphone";
  EXPECT_EQ(audio::record_source(), audio::RecordSource::RackOutput);
  EXPECT_EQ(audio::record_source_problem(), "");
  Capture out;
  out.install();
  std::string error;
  auto samples = record_while_playing(20000, &error);
  auto heard = out.take();
  ASSERT_EQ(samples.size(), 2u * 20000) << error;
  ASSERT_GE(heard.size(), samples.size());
  for (std::size_t i = 2 * kRampFrames; i < samples.size(); i += 31)
    EXPECT_NEAR(samples[i], heard[i], 1.0 / 32768) << "frame " << i / 2 << " differs from what played";

  // Only the left side plays, so the 3D effect shows; the master is muted.
  audio::set_line_gain(audio::Line::Wave, 0.5f, 0.0f);
  audio::set_widening(true);
  audio::set_line_mute(audio::Line::Master, true);
  samples = record_while_playing(44100, &error);
  const std::vector<float> middle(samples.begin() + 8000, samples.end());
  EXPECT_NEAR(tone_level(middle, 2, 0, 44100, kTone), 0.25 * (1 + audio::Widener::kSideGain) / 2, 0.02);
  EXPECT_NEAR(tone_level(middle, 2, 1, 44100, kTone), 0.25 * (audio::Widener::kSideGain - 1) / 2, 0.02);
  heard = out.take();
  ASSERT_GT(heard.size(), 2u * kRampFrames);
  // The first block ramps the master down (no click); after it the output is silent.
  EXPECT_LT(audio::peak(heard.data() + 2 * kRampFrames, heard.size() / 2 - kRampFrames), 1e-6);
}

TEST_F(RecordSourceTest, TheChoiceIsKeptAndAMissingCaptureDeviceIsNamed) {
  EnvOverride source("QUORVIN_RECORD_SOURCE", nullptr);
  audio::set_record_source(audio::RecordSource::CaptureDevice);
  EXPECT_NE(platform_ini(home_).find("RecordSource=capture"), std::string::npos);
  EXPECT_EQ(audio::record_source(), audio::RecordSource::CaptureDevice);
  const std::string problem = audio::record_source_problem();
  EXPECT_NE(problem.find("capture device"), std::string::npos) << problem;

  audio::Recorder rec;
  std::string error;
  ASSERT_TRUE(rec.create({44100, 2, 16}, "", &error)) << error;
  EXPECT_FALSE(rec.record(0, &error));
  EXPECT_EQ(error, problem);
  EXPECT_FALSE(audio::capture_active());

  {
    EnvOverride env("QUORVIN_RECORD_SOURCE", "rack");
    EXPECT_EQ(audio::record_source(), audio::RecordSource::RackOutput) << "the environment overrides the file";
  }
  audio::set_record_source(audio::RecordSource::RackOutput);
  EXPECT_NE(platform_ini(home_).find("RecordSource=rack"), std::string::npos);
  EXPECT_TRUE(rec.record(0, &error)) << error;
}

TEST_F(RecordSourceTest, TheNullInputIsADeviceOnlyWhenNamedAndATestInputAlwaysIs) {
  EnvOverride source("QUORVIN_RECORD_SOURCE", nullptr);
  audio::set_test_input([](float* stereo, std::size_t frames) { std::fill(stereo, stereo + 2 * frames, 0.1f); });
  EXPECT_TRUE(audio::capture_device_present());
  EXPECT_EQ(audio::record_source(), audio::RecordSource::CaptureDevice);
  audio::set_test_input(nullptr);
  audio::shutdown();
  audio::start({"fast", "null"});
  EXPECT_TRUE(audio::capture_device_present());
  EXPECT_EQ(audio::record_source(), audio::RecordSource::CaptureDevice);
  audio::shutdown();
  audio::start({"fast", "a card that is not there"});
  EXPECT_FALSE(audio::capture_device_present());
  audio::set_record_source(audio::RecordSource::CaptureDevice);
  EXPECT_NE(audio::record_source_problem().find("\"a card that is not there\""), std::string::npos)
      << audio::record_source_problem();
}

}  // namespace
}  // namespace audio_test
