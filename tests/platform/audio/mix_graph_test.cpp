#include "platform/audio/mix_graph.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using audio::StereoGain;

std::vector<float> block(std::size_t frames, float l, float r) {
  std::vector<float> s;
  for (std::size_t i = 0; i < frames; ++i) {
    s.push_back(l);
    s.push_back(r);
  }
  return s;
}

TEST(MixGraph, AGainRampEndsExactlyOnItsTargetAndMovesMonotonically) {
  auto s = block(256, 1.0f, 1.0f);
  const float p = audio::apply_gain(s.data(), 256, {1.0f, 0.0f}, {0.0f, 1.0f});
  EXPECT_FLOAT_EQ(s[2 * 255], 0.0f);
  EXPECT_FLOAT_EQ(s[2 * 255 + 1], 1.0f);
  for (std::size_t i = 1; i < 256; ++i) {
    EXPECT_LT(s[2 * i], s[2 * i - 2]);
    EXPECT_GT(s[2 * i + 1], s[2 * i - 1]);
  }
  EXPECT_NEAR(p, 1.0f, 1e-6f);
}

TEST(MixGraph, UnityGainLeavesSamplesUntouched) {
  std::vector<float> s = {0.1f, -0.7f, 1e-30f, 3.5f};
  const auto copy = s;
  EXPECT_FLOAT_EQ(audio::apply_gain(s.data(), 2, {}, {}), 3.5f);
  EXPECT_EQ(s, copy);
}

TEST(MixGraph, MixWithGainAccumulatesOrReplaces) {
  auto dst = block(4, 0.5f, 0.5f);
  const auto src = block(4, 0.2f, -0.4f);
  audio::mix_with_gain(dst.data(), src.data(), 4, {0.5f, 0.5f}, {0.5f, 0.5f}, true);
  EXPECT_FLOAT_EQ(dst[0], 0.6f);
  EXPECT_FLOAT_EQ(dst[1], 0.3f);
  const float p = audio::mix_with_gain(dst.data(), src.data(), 4, {1.0f, 1.0f}, {1.0f, 1.0f}, false);
  EXPECT_FLOAT_EQ(dst[0], 0.2f);
  EXPECT_FLOAT_EQ(p, 0.4f);
}

TEST(MixGraph, WidenerKeepsTheMidAndRaisesTheSide) {
  audio::Widener w;
  w.set(true);
  auto ramp = block(64, 0.5f, 0.1f);
  w.process(ramp.data(), 64);
  auto s = block(64, 0.5f, 0.1f);
  w.process(s.data(), 64);
  EXPECT_FLOAT_EQ(s[0] + s[1], 0.6f);
  EXPECT_FLOAT_EQ(s[0] - s[1], 0.4f * audio::Widener::kSideGain);
  const auto mono = block(8, 0.3f, 0.3f);
  auto m = mono;
  w.process(m.data(), 8);
  EXPECT_EQ(m, mono) << "a centred signal has no side to widen";
}

TEST(MixGraph, WidenerOffIsABypass) {
  audio::Widener w;
  std::vector<float> s = {0.123456f, -0.987654f, 1e-38f, 0.33333334f};
  const auto copy = s;
  w.process(s.data(), 2);
  EXPECT_EQ(s, copy);
  w.set(true);
  w.process(s.data(), 2);
  w.set(false);
  auto t = copy;
  w.process(t.data(), 2);  // the ramp back
  EXPECT_NE(t, copy);
  t = copy;
  w.process(t.data(), 2);
  EXPECT_EQ(t, copy) << "once off, not a single bit changes";
}

}  // namespace
