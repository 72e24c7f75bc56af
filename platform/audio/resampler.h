#pragma once
// Sample-rate conversion of interleaved stereo by a windowed-sinc filter:
// 32 taps (16 zero crossings each side) under a Kaiser window (beta 8.6), 256
// tabulated phases with linear interpolation between them, cutoff at 95% of the
// lower Nyquist frequency. Stop-band rejection is around 80 dB, which is clean
// for music, at about a hundred multiply-adds per output sample.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace audio {

class Resampler {
 public:
  Resampler(int in_rate, int out_rate);
  // Appends input frames.
  void push(const float* stereo, std::size_t frames);
  // Declares the end of the input: what is left pads with silence.
  void finish();
  // Writes up to `frames` output frames that the input so far determines; after
  // finish() the output holds exactly ceil(input frames × out_rate / in_rate).
  std::size_t pull(float* stereo, std::size_t frames);
  bool drained() const;

 private:
  std::uint64_t in_rate_, out_rate_;
  std::vector<float> table_;   // (phases + 1) rows of kTaps coefficients
  std::vector<float> input_;   // stereo frames from buffer_start_ on
  std::int64_t buffer_start_;  // absolute input frame of input_[0]
  std::int64_t input_end_;     // absolute input frame after the last pushed
  bool finished_ = false;
  std::uint64_t next_output_ = 0;
};

// A Producer at `out_rate` over one at `in_rate`.
using StereoSource = std::function<std::size_t(float* stereo, std::size_t frames)>;
StereoSource resampled(StereoSource source, int in_rate, int out_rate);

}  // namespace audio
