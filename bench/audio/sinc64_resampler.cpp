#include "bench/audio/sinc64_resampler.h"

#include <algorithm>
#include <cmath>

namespace bench {
namespace {

constexpr int kHalfTaps = 32;
constexpr int kTaps = 2 * kHalfTaps;
constexpr int kPhases = 256;
constexpr double kBeta = 8.6;
constexpr double kCutoff = 0.91;  // of the lower Nyquist frequency
constexpr std::int64_t kCompactAfter = 16384;

double bessel_i0(double x) {
  double sum = 1.0, term = 1.0;
  for (int k = 1; k < 40; ++k) {
    term *= (x / (2.0 * k)) * (x / (2.0 * k));
    sum += term;
  }
  return sum;
}

// Row p holds the taps for an output lying p/kPhases past an input frame:
// tap m weights input frame (center - kHalfTaps + 1 + m).
std::vector<float> make_table(double cutoff) {
  std::vector<float> table((kPhases + 1) * kTaps);
  const double norm = bessel_i0(kBeta);
  for (int p = 0; p <= kPhases; ++p) {
    const double frac = static_cast<double>(p) / kPhases;
    for (int m = 0; m < kTaps; ++m) {
      const double d = frac - (m - kHalfTaps + 1);  // distance from that input frame
      const double x = d / kHalfTaps;
      const double window = std::fabs(x) >= 1.0 ? 0.0 : bessel_i0(kBeta * std::sqrt(1.0 - x * x)) / norm;
      const double arg = M_PI * cutoff * d;
      const double sinc = d == 0.0 ? 1.0 : std::sin(arg) / arg;
      table[p * kTaps + m] = static_cast<float>(cutoff * sinc * window);
    }
  }
  return table;
}

}  // namespace

Sinc64Resampler::Sinc64Resampler(int in_rate, int out_rate)
    : in_rate_(in_rate), out_rate_(out_rate),
      table_(make_table(kCutoff * std::min(1.0, static_cast<double>(out_rate) / in_rate))),
      input_(2 * kHalfTaps, 0.0f), buffer_start_(-kHalfTaps), input_end_(0) {}

void Sinc64Resampler::push(const float* stereo, std::size_t frames) {
  input_.insert(input_.end(), stereo, stereo + 2 * frames);
  input_end_ += static_cast<std::int64_t>(frames);
}

void Sinc64Resampler::finish() {
  if (finished_) return;
  finished_ = true;
  input_.resize(input_.size() + 2 * kHalfTaps, 0.0f);  // the taps past the end read silence
}

bool Sinc64Resampler::drained() const {
  return finished_ && static_cast<std::int64_t>(next_output_ * in_rate_ / out_rate_) >= input_end_;
}

std::size_t Sinc64Resampler::pull(float* out, std::size_t frames) {
  const std::int64_t available_end = buffer_start_ + static_cast<std::int64_t>(input_.size() / 2);
  std::size_t done = 0;
  float taps[kTaps];
  while (done < frames) {
    const std::uint64_t pos = next_output_ * in_rate_;
    const auto center = static_cast<std::int64_t>(pos / out_rate_);
    if (finished_ ? center >= input_end_ : center + kHalfTaps >= available_end) break;

    const double phase = static_cast<double>(pos % out_rate_) / static_cast<double>(out_rate_) * kPhases;
    const int p = static_cast<int>(phase);
    const float t = static_cast<float>(phase - p);
    const float* row0 = &table_[p * kTaps];
    const float* row1 = row0 + kTaps;
    for (int m = 0; m < kTaps; ++m) taps[m] = row0[m] + (row1[m] - row0[m]) * t;

    const float* x = &input_[2 * (center - kHalfTaps + 1 - buffer_start_)];
    float l = 0.0f, r = 0.0f;
    for (int m = 0; m < kTaps; ++m) {
      l += taps[m] * x[2 * m];
      r += taps[m] * x[2 * m + 1];
    }
    out[2 * done] = l;
    out[2 * done + 1] = r;
    ++done;
    ++next_output_;
  }
  // Drop input no later output can reach.
  const std::int64_t first_needed =
      static_cast<std::int64_t>(next_output_ * in_rate_ / out_rate_) - kHalfTaps + 1;
  if (first_needed - buffer_start_ >= kCompactAfter) {
    input_.erase(input_.begin(), input_.begin() + 2 * (first_needed - buffer_start_));
    buffer_start_ = first_needed;
  }
  return done;
}

}  // namespace bench
