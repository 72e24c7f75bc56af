#pragma once
// Sound files and signal measurements the audio tests make for themselves.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace audio_test {

// Writes `seconds` of a sine at `frequency` Hz and amplitude 0.5 into every
// channel (left and right in phase). `format` is an SF_FORMAT_* combination.
void write_sine(const std::string& path, int rate, int channels, double seconds, double frequency,
                int format = 0 /* WAV, 16-bit */);

// Sine samples of one channel, as the test input and the files hold them.
float sine_sample(double frequency, int rate, std::uint64_t index, float amplitude = 0.5f);

// Reads a whole file as interleaved floats; empty when it does not open.
std::vector<float> read_all(const std::string& path, int* channels = nullptr, int* rate = nullptr);

// Level of a frequency in one channel of interleaved samples (Goertzel), as an
// amplitude: a full-length sine of amplitude a reads about a.
double tone_level(const std::vector<float>& samples, int channels, int channel, int rate, double frequency);
double rms(const std::vector<float>& samples, int channels, int channel);

}  // namespace audio_test
