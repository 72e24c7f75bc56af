// The controls heard through the engine on the fast null device.
#include <cmath>
#include <memory>
#include <string>
#include <tuple>

#include "platform/audio/engine_fixture.h"
#include "mixer_fixture.h"
#include "platform/mixer/volume_taper.h"

namespace mixer_test {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A stereo source whose sides differ (two tones), endless, known per frame.
std::pair<float, float> tone(std::uint64_t i) {
  const double t = static_cast<double>(i) / audio::kEngineRate;
  return {static_cast<float>(0.5 * std::sin(2 * kPi * 440 * t + 0.3)),
          static_cast<float>(0.4 * std::sin(2 * kPi * 660 * t + 1.1))};
}

audio::Producer tone_producer() {
  auto next = std::make_shared<std::uint64_t>(0);
  return [next](float* stereo, std::size_t frames) {
    for (std::size_t k = 0; k < frames; ++k) {
      auto [l, r] = tone(*next + k);
      stereo[2 * k] = l;
      stereo[2 * k + 1] = r;
    }
    *next += frames;
    return frames;
  };
}

double rms(const std::vector<float>& s, std::size_t skip_frames) {
  double sum = 0;
  std::size_t n = 0;
  for (std::size_t i = 2 * skip_frames; i < s.size(); ++i, ++n) sum += double{s[i]} * s[i];
  return n ? std::sqrt(sum / n) : 0.0;
}

double side_energy(const std::vector<float>& s, std::size_t skip_frames) {
  double sum = 0;
  for (std::size_t i = 2 * skip_frames; i + 1 < s.size(); i += 2) sum += std::pow(double{s[i]} - s[i + 1], 2);
  return sum;
}

class AudibleTest : public MixerTest {
 protected:
  void SetUp() override {
    MixerTest::SetUp();
    h_ = open();
    tap_.install();
    voice_ = audio::voice_create(audio::Line::Wave);
    audio::voice_play(voice_, tone_producer(), [](audio::EndReason) {});
  }
  void TearDown() override {
    audio::voice_destroy(voice_);
    MixerTest::TearDown();
  }
  // Output of the next `frames` frames, the first `settle` of them dropped so a
  // gain ramp has ended.
  std::vector<float> play(std::uint64_t frames) {
    tap_.take();
    audio::run_fast(frames);
    return tap_.take();
  }

  static constexpr std::size_t kSettle = 4096;
  HMIXER h_ = nullptr;
  audio_test::Capture tap_;
  audio::VoiceId voice_ = 0;
};

TEST_F(AudibleTest, WaveVolumeStepsDownLowerTheOutputAndMuteSilencesIt) {
  const DWORD volume = control_id(h_, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  const DWORD mute = control_id(h_, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_MUTE);
  double previous = rms(play(16384), kSettle);
  ASSERT_GT(previous, 0.2) << "the tone reaches the output at full volume";
  for (DWORD value = 65535 - 4095; value >= 4095 && value <= 65535; value -= 4095 * 3) {
    SCOPED_TRACE(value);
    ASSERT_EQ(set_volume(h_, volume, value, value), MMSYSERR_NOERROR);
    const double level = rms(play(16384), kSettle);
    EXPECT_LT(level, previous * 0.9);
    EXPECT_GT(level, 0.0);
    previous = level;
  }
  ASSERT_EQ(set_volume(h_, volume, 0, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(rms(play(16384), kSettle), 0.0) << "volume 0 is silence";

  ASSERT_EQ(set_volume(h_, volume, 65535, 65535), MMSYSERR_NOERROR);
  ASSERT_EQ(set_switch(h_, mute, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(rms(play(16384), kSettle), 0.0) << "muted is silent";
  ASSERT_EQ(set_switch(h_, mute, 0), MMSYSERR_NOERROR);
  EXPECT_GT(rms(play(16384), kSettle), 0.2);
}

TEST_F(AudibleTest, MasterVolumeAndMuteActOnEverything) {
  const DWORD volume = control_id(h_, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_VOLUME);
  const DWORD mute = control_id(h_, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_MUTE);
  const double full = rms(play(16384), kSettle);
  ASSERT_EQ(set_volume(h_, volume, 32768, 32768), MMSYSERR_NOERROR);
  const double half_way = rms(play(16384), kSettle);
  EXPECT_NEAR(20 * std::log10(half_way / full), -30.0, 1.0) << "the middle of the range is 30 dB down";
  ASSERT_EQ(set_switch(h_, mute, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(rms(play(16384), kSettle), 0.0);
}

TEST_F(AudibleTest, BalanceLowersOneSideOnly) {
  const DWORD volume = control_id(h_, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  ASSERT_EQ(set_volume(h_, volume, 65535, 0), MMSYSERR_NOERROR);
  const auto out = play(16384);
  double left = 0, right = 0;
  for (std::size_t i = 2 * kSettle; i + 1 < out.size(); i += 2) {
    left += std::fabs(out[i]);
    right += std::fabs(out[i + 1]);
  }
  EXPECT_GT(left, 1000.0);
  EXPECT_EQ(right, 0.0);
}

TEST_F(AudibleTest, LoudnessWidensTheImageAndOffGivesBackTheInputBitExactly) {
  const DWORD loudness = control_id(h_, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_LOUDNESS);
  tap_.take();
  audio::run_fast(16384);
  const auto plain = tap_.take();
  ASSERT_EQ(set_switch(h_, loudness, 1), MMSYSERR_NOERROR);
  const auto wide = play(16384);
  EXPECT_GT(side_energy(wide, kSettle), 1.3 * side_energy(plain, kSettle));

  ASSERT_EQ(set_switch(h_, loudness, 0), MMSYSERR_NOERROR);
  play(8192);  // the switch ramps back over one block
  tap_.take();
  audio::run_fast(8192);
  const auto after = tap_.take();
  ASSERT_FALSE(after.empty());
  // Find where in the tone these frames start, then compare every sample.
  const std::uint64_t played = audio::voice_frames_played(voice_);
  const std::uint64_t first = played - after.size() / 2;
  std::size_t mismatches = 0;
  for (std::size_t k = 0; k < after.size() / 2; ++k) {
    auto [l, r] = tone(first + k);
    mismatches += (after[2 * k] != l) + (after[2 * k + 1] != r);
  }
  EXPECT_EQ(mismatches, 0u) << "3D off and full volume pass the source untouched";
}

// Line-in and microphone volume and mute act on what is recorded.
class RecordingLineTest : public AudibleTest, public testing::WithParamInterface<DWORD> {};

TEST_P(RecordingLineTest, VolumeAndMuteShapeTheRecording) {
  audio::voice_stop(voice_);
  const DWORD volume = control_id(h_, GetParam(), MIXERCONTROL_CONTROLTYPE_VOLUME);
  const DWORD mute = control_id(h_, GetParam(), MIXERCONTROL_CONTROLTYPE_MUTE);
  const DWORD channels = GetParam() == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE ? 1 : 2;
  const auto set_level = [&](DWORD value) {
    const DWORD v[2] = {value, value};
    return set_values(h_, volume, channels, v);
  };
  auto next = std::make_shared<std::uint64_t>(0);
  audio::set_test_input([next](float* stereo, std::size_t frames) {
    for (std::size_t k = 0; k < frames; ++k) std::tie(stereo[2 * k], stereo[2 * k + 1]) = tone(*next + k);
    *next += frames;
  });
  std::mutex m;
  std::vector<float> recorded;
  std::string error;
  ASSERT_TRUE(audio::capture_start(audio::kEngineRate, 2, [&](const float* f, std::size_t n) {
    std::lock_guard lock(m);
    recorded.insert(recorded.end(), f, f + 2 * n);
  }, &error)) << error;
  const auto record = [&](std::uint64_t frames) {
    {
      std::lock_guard lock(m);
      recorded.clear();
    }
    audio::run_fast(frames);
    std::lock_guard lock(m);
    return recorded;
  };
  const double full = rms(record(16384), kSettle);
  ASSERT_GT(full, 0.2);
  ASSERT_EQ(set_level(32768), MMSYSERR_NOERROR);
  EXPECT_NEAR(20 * std::log10(rms(record(16384), kSettle) / full), -30.0, 1.0);
  ASSERT_EQ(set_switch(h_, mute, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(rms(record(16384), kSettle), 0.0);
  audio::capture_stop();
  audio::set_test_input(nullptr);
  set_switch(h_, mute, 0);
  set_level(65535);
}

INSTANTIATE_TEST_SUITE_P(LineAndMicrophone, RecordingLineTest,
                         testing::Values(MIXERLINE_COMPONENTTYPE_SRC_LINE, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE));

// The mixer may be opened before the engine starts (or the engine restarted):
// what the controls hold still governs the sound.
TEST_F(AudibleTest, ControlsSetBeforeTheEngineStartsStillApply) {
  const DWORD mute = control_id(h_, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_MUTE);
  ASSERT_EQ(set_switch(h_, mute, 1), MMSYSERR_NOERROR);
  audio::voice_destroy(voice_);
  audio::shutdown();
  audio::start({"fast", ""});
  tap_.install();
  voice_ = audio::voice_create(audio::Line::Wave);
  audio::voice_play(voice_, tone_producer(), [](audio::EndReason) {});
  EXPECT_EQ(rms(play(16384), kSettle), 0.0);
  ASSERT_EQ(set_switch(h_, mute, 0), MMSYSERR_NOERROR);
  EXPECT_GT(rms(play(16384), kSettle), 0.2);
}

TEST(VolumeTaper, IsSilentAtZeroUnityAtTheTopAndEvenInDecibels) {
  EXPECT_EQ(mixer::volume_to_gain(0, 65535), 0.0f);
  EXPECT_EQ(mixer::volume_to_gain(65535, 65535), 1.0f);
  EXPECT_NEAR(20 * std::log10(mixer::volume_to_gain(1, 65535)), -60.0, 0.01);
  const double step_db = mixer::kTaperRangeDb * 4095 / 65535;
  for (DWORD v = 4095; v + 4095 <= 65535; v += 4095) {
    const double a = 20 * std::log10(mixer::volume_to_gain(v, 65535));
    const double b = 20 * std::log10(mixer::volume_to_gain(v + 4095, 65535));
    EXPECT_NEAR(b - a, step_db, 1e-3) << "every panel step is the same number of decibels";
  }
}

}  // namespace
}  // namespace mixer_test
