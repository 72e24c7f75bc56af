#include "platform/audio/mix_graph.h"

#include <cmath>

namespace audio {
namespace {

// Peaks are kept as the highest and lowest sample with plain comparisons
// (not fmax, which must honour NaN and stays a library call), so the loops
// vectorise.
struct Extremes {
  float hi = 0.0f, lo = 0.0f;
  void add(float x) {
    hi = x > hi ? x : hi;
    lo = x < lo ? x : lo;
  }
  float peak() const { return hi > -lo ? hi : -lo; }
};

// One loop for every case, so the compiler can vectorise each instance.
template <bool kAccumulate, bool kRamp>
float mix_loop(float* dst, const float* src, std::size_t frames, StereoGain from, StereoGain to) {
  const float step_l = kRamp ? (to.left - from.left) / static_cast<float>(frames) : 0.0f;
  const float step_r = kRamp ? (to.right - from.right) / static_cast<float>(frames) : 0.0f;
  Extremes e;
  for (std::size_t i = 0; i < frames; ++i) {
    const float k = static_cast<float>(i + 1);
    const float l = src[2 * i] * (kRamp ? from.left + step_l * k : to.left);
    const float r = src[2 * i + 1] * (kRamp ? from.right + step_r * k : to.right);
    e.add(l);
    e.add(r);
    if (kAccumulate) {
      dst[2 * i] += l;
      dst[2 * i + 1] += r;
    } else {
      dst[2 * i] = l;
      dst[2 * i + 1] = r;
    }
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
  for (std::size_t i = 0; i < 2 * frames; ++i) e.add(stereo[i]);
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
