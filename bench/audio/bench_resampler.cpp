// Sample-rate conversion for the two conversions files bring (48 kHz and
// 22.05 kHz to the engine's 44.1 kHz): the engine's resampler, the 64-tap
// windowed sinc it replaced, and libsoxr called directly (the engine's wrapper's
// cost is the difference between the first and the last):
//   quality  a stepped sweep of pure tones through each: THD+N of tones in the
//            passband (everything but the tone, against the tone), and the
//            worst folded component (aliases going down, images going up)
//   speed    60 s of stereo noise streamed through in 4096-frame blocks, as the
//            wave reader does, best of 3 by CPU time
#include <soxr.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/audio/sinc64_resampler.h"
#include "platform/audio/resampler.h"

namespace {

constexpr std::size_t kBlock = 4096;

double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Interleaved stereo in, interleaved stereo out, streamed block by block.
using Convert = std::function<std::vector<float>(const std::vector<float>& in, int in_rate, int out_rate)>;

template <typename R>
std::vector<float> stream_through(R& r, const std::vector<float>& in) {
  const std::size_t frames = in.size() / 2;
  std::vector<float> out, buf(2 * kBlock);
  for (std::size_t at = 0; at < frames; at += kBlock) {
    r.push(in.data() + 2 * at, std::min(kBlock, frames - at));
    while (std::size_t n = r.pull(buf.data(), kBlock)) out.insert(out.end(), buf.begin(), buf.begin() + 2 * n);
  }
  r.finish();
  while (std::size_t n = r.pull(buf.data(), kBlock)) out.insert(out.end(), buf.begin(), buf.begin() + 2 * n);
  return out;
}

std::vector<float> engine_resampler(const std::vector<float>& in, int in_rate, int out_rate) {
  audio::Resampler r(in_rate, out_rate);
  return stream_through(r, in);
}

std::vector<float> sinc64(const std::vector<float>& in, int in_rate, int out_rate) {
  bench::Sinc64Resampler r(in_rate, out_rate);
  return stream_through(r, in);
}

std::vector<float> soxr_hq(const std::vector<float>& in, int in_rate, int out_rate) {
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  soxr_t s = soxr_create(in_rate, out_rate, 2, nullptr, nullptr, &quality, &runtime);
  const std::size_t frames = in.size() / 2;
  std::vector<float> out, buf(2 * kBlock);
  for (std::size_t at = 0;; at += kBlock) {
    const bool last = at >= frames;
    const float* src = last ? nullptr : in.data() + 2 * at;
    std::size_t left = last ? 0 : std::min(kBlock, frames - at);
    for (;;) {
      std::size_t used = 0, made = 0;
      soxr_process(s, src, left, &used, buf.data(), kBlock, &made);
      out.insert(out.end(), buf.begin(), buf.begin() + 2 * made);
      if (src) src += 2 * used;
      left -= used;
      if (made == 0 && left == 0) break;
    }
    if (last) break;
  }
  soxr_delete(s);
  return out;
}

std::vector<float> tone(double frequency, int rate, double seconds, double amplitude) {
  const auto frames = static_cast<std::size_t>(seconds * rate);
  std::vector<float> in(2 * frames);
  for (std::size_t i = 0; i < frames; ++i)
    in[2 * i] = in[2 * i + 1] = static_cast<float>(amplitude * std::sin(2 * M_PI * frequency * double(i) / rate));
  return in;
}

// Least-squares fit of a DC offset and sines of the given frequencies to the
// left channel of the middle half of `out`, jointly, so that a strong tone
// cannot leak into a weak one's figure. The power of each fitted tone, and of
// what is left over.
struct Fit {
  std::vector<double> tones;
  double rest = 0;
};

Fit fit(const std::vector<float>& out, int rate, const std::vector<double>& frequencies) {
  const std::size_t frames = out.size() / 2;
  const std::size_t from = frames / 4, to = frames - frames / 4;
  const std::size_t n = 1 + 2 * frequencies.size();
  auto basis_at = [&](std::size_t i, std::vector<double>& basis) {
    basis[0] = 1.0;
    for (std::size_t k = 0; k < frequencies.size(); ++k) {
      const double w = 2 * M_PI * frequencies[k] * double(i) / rate;
      basis[1 + 2 * k] = std::sin(w);
      basis[2 + 2 * k] = std::cos(w);
    }
  };
  // Normal equations, solved by Gauss-Jordan (they are symmetric positive definite).
  std::vector<std::vector<double>> a(n, std::vector<double>(n, 0.0));
  std::vector<double> b(n, 0.0), basis(n);
  for (std::size_t i = from; i < to; ++i) {
    basis_at(i, basis);
    for (std::size_t r = 0; r < n; ++r) {
      b[r] += basis[r] * out[2 * i];
      for (std::size_t c = 0; c < n; ++c) a[r][c] += basis[r] * basis[c];
    }
  }
  for (std::size_t p = 0; p < n; ++p)
    for (std::size_t r = 0; r < n; ++r) {
      if (r == p) continue;
      const double k = a[r][p] / a[p][p];
      for (std::size_t c = 0; c < n; ++c) a[r][c] -= k * a[p][c];
      b[r] -= k * b[p];
    }
  std::vector<double> coef(n);
  for (std::size_t r = 0; r < n; ++r) coef[r] = b[r] / a[r][r];
  Fit f;
  f.tones.assign(frequencies.size(), 0.0);
  for (std::size_t i = from; i < to; ++i) {
    basis_at(i, basis);
    double rest = out[2 * i] - coef[0];
    for (std::size_t k = 0; k < frequencies.size(); ++k) {
      const double t = coef[1 + 2 * k] * basis[1 + 2 * k] + coef[2 + 2 * k] * basis[2 + 2 * k];
      f.tones[k] += t * t;
      rest -= t;
    }
    f.rest += rest * rest;
  }
  for (double& t : f.tones) t /= double(to - from);
  f.rest /= double(to - from);
  return f;
}

double db(double power_ratio) { return 10.0 * std::log10(std::max(power_ratio, 1e-30)); }

struct Quality {
  double thdn_worst = -1e9, thdn_mean = 0;
  double folded_worst = -1e9;
  double passband_low = 0, passband_high = 0;  // level in dB, lowest and highest over the sweep
};

constexpr double kAmplitude = 0.5;
constexpr int kSteps = 40;

Quality measure_quality(const Convert& convert, int in_rate, int out_rate) {
  Quality q;
  q.passband_low = 1e9;
  q.passband_high = -1e9;
  const double band = 0.9 * std::min(in_rate, out_rate) / 2.0;
  for (int s = 0; s < kSteps; ++s) {
    const double f = 20.0 * std::pow(band / 20.0, double(s) / (kSteps - 1));
    const Fit r = fit(convert(tone(f, in_rate, 1.0, kAmplitude), in_rate, out_rate), out_rate, {f});
    const double thdn = db(r.rest / r.tones[0]);
    q.thdn_worst = std::max(q.thdn_worst, thdn);
    q.thdn_mean += thdn / kSteps;
    const double level = db(r.tones[0] / (kAmplitude * kAmplitude / 2));
    q.passband_low = std::min(q.passband_low, level);
    q.passband_high = std::max(q.passband_high, level);
  }
  // Going down, input between the two Nyquist frequencies folds to out_rate - f;
  // going up, the input's image appears at in_rate - f.
  const bool down = in_rate > out_rate;
  const double lo = down ? out_rate / 2.0 + 50 : 1000.0;
  const double hi = down ? in_rate / 2.0 - 50 : in_rate / 2.0 - 50;
  for (int s = 0; s < kSteps; ++s) {
    const double f = lo + (hi - lo) * s / (kSteps - 1);
    const double folded = down ? out_rate - f : in_rate - f;
    const Fit r = fit(convert(tone(f, in_rate, 1.0, kAmplitude), in_rate, out_rate), out_rate, {f, folded});
    q.folded_worst = std::max(q.folded_worst, db(r.tones[1] / (kAmplitude * kAmplitude / 2)));
  }
  return q;
}

// Output frames per CPU second, as a multiple of real time at the output rate.
double measure_speed(const Convert& convert, int in_rate, int out_rate) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
  std::vector<float> in(2 * std::size_t(60 * in_rate));
  for (float& x : in) x = noise(random);
  double best = 0;
  for (int i = 0; i < 3; ++i) {
    const double c = cpu_seconds();
    const std::vector<float> out = convert(in, in_rate, out_rate);
    const double used = cpu_seconds() - c;
    best = std::max(best, double(out.size() / 2) / out_rate / used);
  }
  return best;
}

}  // namespace

int main() {
  struct Candidate {
    const char* name;
    Convert convert;
  };
  const Candidate candidates[] = {
      {"engine resampler", engine_resampler},
      {"64-tap sinc", sinc64},
      {"libsoxr HQ direct", soxr_hq},
  };
  for (const auto& [in_rate, out_rate] : {std::pair{48000, 44100}, std::pair{22050, 44100}}) {
    std::printf("%d Hz -> %d Hz, tones at -6 dBFS, %d-step sweeps:\n", in_rate, out_rate, kSteps);
    std::printf("  %-18s %13s %13s %14s %16s %12s\n", "", "THD+N worst", "THD+N mean", "passband dB",
                in_rate > out_rate ? "worst alias" : "worst image", "speed (CPU)");
    for (const Candidate& c : candidates) {
      const Quality q = measure_quality(c.convert, in_rate, out_rate);
      const double speed = measure_speed(c.convert, in_rate, out_rate);
      std::printf("  %-18s %10.1f dB %10.1f dB %+6.2f/%+6.2f %13.1f dB %9.0fx rt\n", c.name, q.thdn_worst,
                  q.thdn_mean, q.passband_low, q.passband_high, q.folded_worst, speed);
    }
  }
  return 0;
}
