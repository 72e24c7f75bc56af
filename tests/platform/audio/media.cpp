#include "media.h"

#include <sndfile.h>

#include <cmath>
#include <stdexcept>

namespace audio_test {

float sine_sample(double frequency, int rate, std::uint64_t index, float amplitude) {
  return amplitude * static_cast<float>(std::sin(2.0 * M_PI * frequency * static_cast<double>(index) / rate));
}

void write_sine(const std::string& path, int rate, int channels, double seconds, double frequency, int format) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format ? format : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) throw std::runtime_error(std::string("cannot write test file: ") + sf_strerror(nullptr));
  const auto frames = static_cast<std::uint64_t>(seconds * rate);
  std::vector<float> block;
  for (std::uint64_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) block.push_back(sine_sample(frequency, rate, i));
  sf_writef_float(f, block.data(), static_cast<sf_count_t>(frames));
  sf_close(f);
}

std::vector<float> read_all(const std::string& path, int* channels, int* rate) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return {};
  std::vector<float> data(static_cast<std::size_t>(info.frames) * info.channels);
  const sf_count_t got = sf_readf_float(f, data.data(), info.frames);
  data.resize(static_cast<std::size_t>(got) * info.channels);
  sf_close(f);
  if (channels) *channels = info.channels;
  if (rate) *rate = info.samplerate;
  return data;
}

double tone_level(const std::vector<float>& samples, int channels, int channel, int rate, double frequency) {
  const std::size_t n = samples.size() / channels;
  if (n == 0) return 0.0;
  const double w = 2.0 * M_PI * frequency / rate;
  double re = 0.0, im = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double x = samples[i * channels + channel];
    re += x * std::cos(w * static_cast<double>(i));
    im -= x * std::sin(w * static_cast<double>(i));
  }
  return 2.0 * std::sqrt(re * re + im * im) / static_cast<double>(n);
}

double rms(const std::vector<float>& samples, int channels, int channel) {
  const std::size_t n = samples.size() / channels;
  if (n == 0) return 0.0;
  double sum = 0.0;
  for (std::size_t i = 0; i < n; ++i) sum += double(samples[i * channels + channel]) * samples[i * channels + channel];
  return std::sqrt(sum / static_cast<double>(n));
}

}  // namespace audio_test
