#include "platform/audio/resampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
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

std::vector<float> convert(int in_rate, int out_rate, const std::vector<float>& in) {
  audio::Resampler r(in_rate, out_rate);
  r.push(in.data(), in.size() / 2);
  r.finish();
  std::vector<float> out(in.size() * out_rate / in_rate + 64);
  out.resize(2 * r.pull(out.data(), out.size() / 2));
  EXPECT_TRUE(r.drained());
  return out;
}

std::vector<float> stereo_tone(double frequency, int rate, int frames) {
  std::vector<float> in;
  for (int i = 0; i < frames; ++i) in.insert(in.end(), 2, sine_sample(frequency, rate, i));
  return in;
}

TEST(Resampler, TheTopOfTheBandKeepsItsLevelAndWhatFoldsIsGone) {
  // 19.5 kHz is 88% of the 22.05 kHz Nyquist frequency: music still has it.
  auto out = convert(48000, 44100, stereo_tone(19500, 48000, 48000));
  std::vector<float> middle(out.begin() + 2 * 1000, out.end() - 2 * 1000);
  EXPECT_NEAR(20 * std::log10(tone_level(middle, 2, 0, 44100, 19500) / 0.5), 0.0, 0.05) << "dB";
  // 22.5 kHz cannot be held at 44.1 kHz and would fold to 21.6 kHz.
  out = convert(48000, 44100, stereo_tone(22500, 48000, 48000));
  middle.assign(out.begin() + 2 * 1000, out.end() - 2 * 1000);
  EXPECT_LT(20 * std::log10(rms(middle, 2, 1) / 0.35), -90.0) << "dB below the input";
  // Going up, a 10 kHz tone at 22.05 kHz must not leave its image at 12.05 kHz.
  out = convert(22050, 44100, stereo_tone(10000, 22050, 22050));
  middle.assign(out.begin() + 2 * 1000, out.end() - 2 * 1000);
  EXPECT_LT(20 * std::log10(tone_level(middle, 2, 0, 44100, 12050) / 0.5), -90.0) << "dB";
}

TEST(Resampler, NoDelayAndTheLengthRoundsUp) {
  for (const auto& [in_rate, out_rate, click_at, heard_at] :
       {std::tuple{48000, 44100, 4800, 4410}, std::tuple{22050, 44100, 2205, 4410}, std::tuple{44100, 11025, 4412, 1103}}) {
    std::vector<float> in(2 * 10001, 0.0f);
    in[2 * click_at] = in[2 * click_at + 1] = 1.0f;
    const auto out = convert(in_rate, out_rate, in);
    EXPECT_EQ(out.size() / 2, (10001u * out_rate + in_rate - 1) / in_rate) << in_rate << " to " << out_rate;
    std::size_t loudest = 0;
    for (std::size_t i = 0; i < out.size() / 2; ++i)
      if (std::fabs(out[2 * i]) > std::fabs(out[2 * loudest])) loudest = i;
    EXPECT_EQ(loudest, static_cast<std::size_t>(heard_at)) << in_rate << " to " << out_rate;
  }
}

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
