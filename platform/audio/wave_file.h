#pragma once
// Wave files (and whatever else libsndfile reads: FLAC, Ogg Vorbis, Opus, AIFF,
// MP3) as the wave device sees them: their format, and a Producer that streams
// them from disk at the engine rate.
#include <cstdint>
#include <string>

#include "platform/audio/engine.h"

namespace audio {

struct WaveInfo {
  int channels = 0;
  int samples_per_sec = 0;
  int bits_per_sample = 0;    // 16 for compressed formats, which have no fixed width
  int block_align = 0;        // bytes per frame at bits_per_sample
  int avg_bytes_per_sec = 0;  // block_align × samples_per_sec, at most INT_MAX
  std::uint64_t frames = 0;
  std::uint32_t length_ms = 0;  // at most UINT32_MAX (49.7 days): never wraps
  std::string format_name;    // "WAV", "FLAC", ... as libsndfile names the container
};

// Reads the format of a file; false with a plain error text when it cannot be
// played (missing, not a sound file, truncated beyond use).
bool wave_file_info(const std::string& path, WaveInfo* info, std::string* error);

constexpr std::uint64_t kToEnd = UINT64_MAX;

// Streams source frames [start_frame, end_frame) of the file (clamped to its
// length), converted to stereo and resampled to kEngineRate. Mono plays on both
// sides; of more channels the first two play. The file stays open while the
// producer lives and is read in small blocks, so a long file never sits in
// memory; a file cut short simply ends early. Returns an empty Producer and an
// error text when the file cannot be opened.
Producer make_wave_producer(const std::string& path, std::uint64_t start_frame, std::uint64_t end_frame,
                            std::string* error);

}  // namespace audio
