#include "media_files.h"

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace mcitest {

std::string write_sine_wav(const std::string& path, double seconds, int rate, int channels, int bits) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | (bits == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16);
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  const auto frames = static_cast<sf_count_t>(std::llround(seconds * rate));
  std::vector<float> samples(static_cast<std::size_t>(frames * channels));
  for (sf_count_t i = 0; i < frames; ++i) {
    const float v = 0.5f * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * static_cast<double>(i) / rate));
    for (int c = 0; c < channels; ++c) samples[static_cast<std::size_t>(i * channels + c)] = v;
  }
  sf_writef_float(file, samples.data(), frames);
  sf_close(file);
  return path;
}

namespace {

void put_be(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void put_varlen(std::vector<unsigned char>& out, std::uint32_t value) {
  unsigned char bytes[5];
  int n = 0;
  bytes[n++] = value & 0x7F;
  while ((value >>= 7) != 0) bytes[n++] = static_cast<unsigned char>((value & 0x7F) | 0x80);
  while (n > 0) out.push_back(bytes[--n]);
}

void put_tempo(std::vector<unsigned char>& track, std::uint32_t delta, std::uint32_t us_per_quarter) {
  put_varlen(track, delta);
  track.insert(track.end(), {0xFF, 0x51, 0x03});
  put_be(track, us_per_quarter, 3);
}

}  // namespace

std::string write_tempo_change_midi(const std::string& path, int quarters) {
  constexpr std::uint32_t kDivision = 480;
  std::vector<unsigned char> track;
  put_tempo(track, 0, 500000);
  for (int q = 0; q < quarters; ++q) {
    if (q == 2) put_tempo(track, 0, 250000);
    put_varlen(track, 0);
    track.insert(track.end(), {0x90, static_cast<unsigned char>(60 + q % 12), 100});
    put_varlen(track, kDivision);
    track.insert(track.end(), {0x80, static_cast<unsigned char>(60 + q % 12), 0});
  }
  put_varlen(track, 0);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});

  std::vector<unsigned char> file = {'M', 'T', 'h', 'd'};
  put_be(file, 6, 4);
  put_be(file, 0, 2);
  put_be(file, 1, 2);
  put_be(file, kDivision, 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  put_be(file, static_cast<std::uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                              static_cast<std::streamsize>(file.size()));
  return path;
}

std::string write_text_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

}  // namespace mcitest
