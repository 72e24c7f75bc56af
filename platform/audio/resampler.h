#pragma once
// Sample-rate conversion of interleaved stereo, by libsoxr at its high quality
// (20-bit precision, linear phase, flat to 91% of the lower Nyquist frequency,
// nothing folds back above it). Measured against the 64-tap windowed sinc it
// replaced (bench_resampler): aliases and images 35-40 dB lower, THD+N 30-35 dB
// lower, two to five times the speed.
//
// One thread at a time; no latency: output frame n lies at input time
// n × in_rate / out_rate.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct soxr;

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
  struct Delete {
    void operator()(soxr* s) const;
  };
  std::uint64_t expected_output() const;

  std::uint64_t in_rate_, out_rate_;
  std::unique_ptr<soxr, Delete> soxr_;  // null when the rates were refused: no output then
  std::vector<float> input_;            // stereo frames pushed, from input_used_ on not yet taken
  std::size_t input_used_ = 0;
  std::uint64_t input_frames_ = 0;
  std::uint64_t output_frames_ = 0;
  bool finished_ = false;
  bool flushed_ = false;  // the library has given all it had after the end
};

// A Producer at `out_rate` over one at `in_rate`.
using StereoSource = std::function<std::size_t(float* stereo, std::size_t frames)>;
StereoSource resampled(StereoSource source, int in_rate, int out_rate);

}  // namespace audio
