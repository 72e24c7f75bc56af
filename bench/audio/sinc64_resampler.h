#pragma once
// The engine's former resampler, kept as the benchmark's reference: interleaved
// stereo through a windowed-sinc filter of 64 taps (32 zero crossings each
// side) under a Kaiser window (beta 8.6), 256 tabulated phases with linear
// interpolation between them, cutoff at 91% of the lower Nyquist frequency;
// about 200 multiply-adds per output frame.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bench {

class Sinc64Resampler {
 public:
  Sinc64Resampler(int in_rate, int out_rate);
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

}  // namespace bench
