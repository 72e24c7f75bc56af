// Fuzzes the wave path. Half the inputs are sound files (any header, any rate)
// read through libsndfile by our format reader and our streaming producer,
// which resamples to the engine rate; the other half drive the resampler
// directly with arbitrary rates and push sizes. What must hold:
// - an accepted file has a sane format, and its length in ms is its frames at
//   its rate (at most the largest 32-bit value, never wrapped);
// - the producer gives at most the frames the file's length makes at the engine rate;
// - the resampler gives exactly ceil(input × out / in) frames, or none when it
//   refused the rates.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fuzz_files.h"
#include "platform/audio/resampler.h"
#include "platform/audio/wave_file.h"

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// Output read per input at most: a second at the engine rate.
constexpr std::uint64_t kMaxOutput = audio::kEngineRate;

std::uint64_t ceil_div(std::uint64_t a, std::uint64_t b) { return (a + b - 1) / b; }

void fuzz_file(FuzzedDataProvider& in) {
  static const std::string path = fuzzfiles::scratch_folder() + "/fuzz.wav";
  const std::uint64_t start = in.ConsumeIntegral<std::uint16_t>();
  fuzzfiles::write_file(path, in.ConsumeRemainingBytesAsString());

  audio::WaveInfo info;
  std::string error;
  if (!audio::wave_file_info(path, &info, &error)) {
    check(!error.empty(), "a refused file has no message");
    return;
  }
  check(info.channels > 0 && info.samples_per_sec > 0, "an accepted file has no channels or rate");
  check(info.block_align == info.bits_per_sample / 8 * info.channels, "block align disagrees with the format");
  const std::uint64_t ms = info.frames * 1000 / static_cast<std::uint64_t>(info.samples_per_sec);
  check(info.length_ms == std::min<std::uint64_t>(ms, UINT32_MAX), "the length in ms is not the frames at the rate");

  audio::Producer producer = audio::make_wave_producer(path, start, audio::kToEnd, &error);
  if (!producer) return;
  const std::uint64_t source = info.frames - std::min(start, info.frames);
  const std::uint64_t most = ceil_div(source * audio::kEngineRate, static_cast<std::uint64_t>(info.samples_per_sec));
  std::vector<float> out(2 * 4096);
  std::uint64_t total = 0;
  while (total < kMaxOutput) {
    const std::size_t got = producer(out.data(), 4096);
    total += got;
    if (got < 4096) break;
  }
  check(total <= most, "the producer gave more frames than the file holds");
}

void fuzz_resampler(FuzzedDataProvider& in) {
  const int in_rate = in.ConsumeIntegralInRange(1, 384000);
  const int out_rate = in.ConsumeIntegralInRange(1, 384000);
  audio::Resampler resampler(in_rate, out_rate);
  std::vector<float> chunk;
  std::vector<float> out(2 * 2048);
  std::uint64_t pushed = 0, pulled = 0;
  bool any = false;
  while (in.remaining_bytes() > 0 && pushed < 8192) {
    const std::size_t frames = in.ConsumeIntegralInRange<std::size_t>(0, 512);
    chunk.assign(2 * frames, 0.0f);
    for (float& x : chunk) x = in.ConsumeFloatingPointInRange(-1.0f, 1.0f);
    resampler.push(chunk.data(), frames);
    pushed += frames;
    const std::size_t got = resampler.pull(out.data(), in.ConsumeIntegralInRange<std::size_t>(0, 2048));
    pulled += got;
    any = any || got > 0;
  }
  resampler.finish();
  const std::uint64_t expected = ceil_div(pushed * static_cast<std::uint64_t>(out_rate), in_rate);
  if (expected > 16 * kMaxOutput) return;  // an upsampling too long to wait for here
  while (!resampler.drained()) {
    const std::size_t got = resampler.pull(out.data(), 2048);
    if (got == 0) break;
    pulled += got;
    any = true;
  }
  check(!any || pulled == expected, "the resampler's output is not ceil(input x out / in) frames");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool())
    fuzz_resampler(in);
  else
    fuzz_file(in);
  return 0;
}
