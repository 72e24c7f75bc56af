#pragma once
// The sample arithmetic of the mixing graph: gains with a per-block linear ramp,
// peak meters, summing and the mid/side widener. Pure functions over interleaved
// stereo blocks, so they are tested apart from the engine's threads.
#include <cstddef>

namespace audio {

struct StereoGain {
  float left = 1.0f;
  float right = 1.0f;
  bool operator==(const StereoGain&) const = default;
};

// Multiplies the block by a gain moving linearly from `from` to `to`, so a step
// of the volume never clicks, and returns the block's peak afterwards. A steady
// unity gain leaves the samples untouched.
float apply_gain(float* stereo, std::size_t frames, StereoGain from, StereoGain to);
// dst = src × gain (or dst += src × gain when `accumulate`), the gain ramped as
// above; returns the peak of src × gain.
float mix_with_gain(float* dst, const float* src, std::size_t frames, StereoGain from, StereoGain to,
                    bool accumulate);
float peak(const float* stereo, std::size_t frames);

// The "3D" effect: widens the stereo image by raising the side signal. Switching
// ramps the width over one block; once fully off the block passes through
// untouched, so off is bit-exact.
class Widener {
 public:
  static constexpr float kSideGain = 1.8f;
  void set(bool on) { target_ = on ? kSideGain : 1.0f; }
  // Returns false when the block passed through untouched.
  bool process(float* stereo, std::size_t frames);

 private:
  float side_ = 1.0f;
  float target_ = 1.0f;
};

}  // namespace audio
