#include "platform/audio/resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine_fixture.h"
#include "media.h"
#include "platform/audio/wave_file.h"

namespace audio_test {
namespace {

std::vector<float> drain(audio::Producer& p) {
  std::vector<float> out;
  std::vector<float> buf(2 * 1000);
  for (;;) {
    const std::size_t n = p(buf.data(), 1000);
    out.insert(out.end(), buf.begin(), buf.begin() + 2 * n);
    if (n < 1000) break;
  }
  return out;
}

class ResampledFile : public ::testing::TestWithParam<int> {
 protected:
  TempHome home_;
};

TEST_P(ResampledFile, KeepsDurationAndPitch) {
  const int rate = GetParam();
  const std::string path = home_.file("tone.wav");
  write_sine(path, rate, 1, 2.0, 1000.0);
  std::string error;
  auto p = audio::make_wave_producer(path, 0, audio::kToEnd, &error);
  ASSERT_TRUE(p) << error;
  const auto out = drain(p);
  EXPECT_EQ(out.size() / 2, 2u * 44100) << "two seconds at the engine rate";
  // Away from the edges the tone keeps its frequency and level, and nothing else appears.
  const std::vector<float> middle(out.begin() + 2 * 4410, out.end() - 2 * 4410);
  EXPECT_NEAR(tone_level(middle, 2, 0, 44100, 1000.0), 0.5, 0.01);
  EXPECT_NEAR(tone_level(middle, 2, 1, 44100, 1000.0), 0.5, 0.01);
  EXPECT_LT(tone_level(middle, 2, 0, 44100, 1100.0), 0.01);
  EXPECT_NEAR(rms(middle, 2, 0), 0.5 / std::sqrt(2.0), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Rates, ResampledFile, ::testing::Values(48000, 22050, 11025, 8000, 96000));

TEST(Resampler, DownsamplingRemovesWhatTheNewRateCannotHold) {
  // 13 kHz at 48 kHz would fold to 9.05 kHz at 22.05 kHz.
  audio::Resampler r(48000, 22050);
  std::vector<float> in;
  for (int i = 0; i < 48000; ++i) {
    const float s = sine_sample(13000, 48000, i);
    in.push_back(s);
    in.push_back(s);
  }
  r.push(in.data(), 48000);
  r.finish();
  std::vector<float> out(2 * 30000);
  const std::size_t n = r.pull(out.data(), 30000);
  EXPECT_EQ(n, 22050u);
  const std::vector<float> middle(out.begin() + 2 * 200, out.begin() + 2 * (n - 200));  // past the edges' ringing
  EXPECT_LT(rms(middle, 2, 0), 1e-4) << "80 dB below the 0.35 rms input";
}

TEST(Resampler, PushedInPiecesGivesTheSameAsAtOnce) {
  std::vector<float> in;
  for (int i = 0; i < 10000; ++i) {
    in.push_back(sine_sample(300, 22050, i));
    in.push_back(sine_sample(500, 22050, i));
  }
  audio::Resampler whole(22050, 44100), pieces(22050, 44100);
  whole.push(in.data(), 10000);
  whole.finish();
  std::vector<float> a(2 * 30000), b;
  a.resize(2 * whole.pull(a.data(), 30000));
  std::vector<float> buf(2 * 333);
  for (int at = 0; at < 10000; at += 777) {
    pieces.push(in.data() + 2 * at, std::min(777, 10000 - at));
    while (std::size_t n = pieces.pull(buf.data(), 333)) b.insert(b.end(), buf.begin(), buf.begin() + 2 * n);
  }
  pieces.finish();
  while (std::size_t n = pieces.pull(buf.data(), 333)) b.insert(b.end(), buf.begin(), buf.begin() + 2 * n);
  EXPECT_EQ(a.size(), 2u * 20000);
  EXPECT_EQ(a, b);
}

}  // namespace
}  // namespace audio_test
