#include "platform/audio/mix_graph.h"

#include <cmath>
#include <cstring>

namespace audio {
namespace {

// Four samples at a time through the compiler's portable vector types; the
// peaks keep the highest and lowest sample in four independent accumulators.
using Vec = float __attribute__((vector_size(16)));
constexpr std::size_t kWidth = 4;
constexpr std::size_t kUnroll = 4;

Vec load(const float* p) {
  Vec v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
void store(float* p, Vec v) { std::memcpy(p, &v, sizeof v); }

struct Extremes {
  Vec hi[kUnroll] = {};
  Vec lo[kUnroll] = {};
  float tail_hi = 0.0f, tail_lo = 0.0f;
  void add(std::size_t j, Vec x) {
    hi[j] = x > hi[j] ? x : hi[j];
    lo[j] = x < lo[j] ? x : lo[j];
  }
  void add(float x) {
    tail_hi = x > tail_hi ? x : tail_hi;
    tail_lo = x < tail_lo ? x : tail_lo;
  }
  float peak() const {
    float h = tail_hi, l = tail_lo;
    for (std::size_t j = 0; j < kUnroll; ++j)
      for (std::size_t k = 0; k < kWidth; ++k) {
        h = hi[j][k] > h ? hi[j][k] : h;
        l = lo[j][k] < l ? lo[j][k] : l;
      }
    return h > -l ? h : -l;
  }
};

// One loop for every case. A vector holds two frames: left, right, left, right.
template <bool kAccumulate, bool kRamp>
float mix_loop(float* dst, const float* src, std::size_t frames, StereoGain from, StereoGain to) {
  const float step_l = kRamp ? (to.left - from.left) / static_cast<float>(frames) : 0.0f;
  const float step_r = kRamp ? (to.right - from.right) / static_cast<float>(frames) : 0.0f;
  const Vec start = kRamp ? Vec{from.left, from.right, from.left, from.right} : Vec{to.left, to.right, to.left, to.right};
  const Vec step = {step_l, step_r, step_l, step_r};
  Vec k = {1.0f, 1.0f, 2.0f, 2.0f};  // frame number (from 1) of each lane
  Extremes e;
  const std::size_t samples = 2 * frames;
  std::size_t s = 0;
  for (; s + kWidth * kUnroll <= samples; s += kWidth * kUnroll) {
    for (std::size_t j = 0; j < kUnroll; ++j) {
      const Vec gain = kRamp ? start + step * k : start;
      const Vec v = load(src + s + kWidth * j) * gain;
      e.add(j, v);
      store(dst + s + kWidth * j, kAccumulate ? load(dst + s + kWidth * j) + v : v);
      if (kRamp) k += 2.0f;
    }
  }
  for (; s < samples; ++s) {
    const std::size_t side = s & 1;
    const float gain = kRamp ? (side ? from.right + step_r * static_cast<float>(s / 2 + 1)
                                     : from.left + step_l * static_cast<float>(s / 2 + 1))
                             : (side ? to.right : to.left);
    const float v = src[s] * gain;
    e.add(v);
    dst[s] = kAccumulate ? dst[s] + v : v;
  }
  return e.peak();
}

}  // namespace

float apply_gain(float* stereo, std::size_t frames, StereoGain from, StereoGain to) {
  if (from == to && to.left == 1.0f && to.right == 1.0f) return peak(stereo, frames);
  return mix_with_gain(stereo, stereo, frames, from, to, false);
}

float mix_with_gain(float* dst, const float* src, std::size_t frames, StereoGain from, StereoGain to,
                    bool accumulate) {
  const bool ramp = !(from == to);
  if (accumulate)
    return ramp ? mix_loop<true, true>(dst, src, frames, from, to) : mix_loop<true, false>(dst, src, frames, from, to);
  return ramp ? mix_loop<false, true>(dst, src, frames, from, to) : mix_loop<false, false>(dst, src, frames, from, to);
}

float peak(const float* stereo, std::size_t frames) {
  Extremes e;
  std::size_t s = 0;
  for (; s + kWidth * kUnroll <= 2 * frames; s += kWidth * kUnroll)
    for (std::size_t j = 0; j < kUnroll; ++j) e.add(j, load(stereo + s + kWidth * j));
  for (; s < 2 * frames; ++s) e.add(stereo[s]);
  return e.peak();
}

bool Widener::process(float* stereo, std::size_t frames) {
  if (side_ == 1.0f && target_ == 1.0f) return false;
  const float step = (target_ - side_) / static_cast<float>(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const float side_gain = side_ + step * static_cast<float>(i + 1);
    const float l = stereo[2 * i], r = stereo[2 * i + 1];
    const float mid = 0.5f * (l + r);
    const float side = 0.5f * (l - r) * side_gain;
    stereo[2 * i] = mid + side;
    stereo[2 * i + 1] = mid - side;
  }
  side_ = target_;
  return true;
}

}  // namespace audio
