#pragma once
// Frame-exact reads of audio sectors: whole sectors come from libcdio in small
// chunks, and the last chunk is kept so reads that start inside a sector (the
// usual case for a reader asking for round frame counts) do not fetch it twice.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio/cd/cd_toc.h"

typedef struct _CdIo CdIo_t;

namespace audio {

class CdSectorReader {
 public:
  CdSectorReader();
  // Forgets the kept chunk; call whenever the handle or the disc changes.
  void reset();
  // Reads 16-bit stereo frames from absolute frame `first_frame` within the run
  // of audio tracks that holds it, up to the next data track or the lead-out.
  std::size_t read(CdIo_t* handle, const CdToc& toc, std::uint64_t first_frame, std::int16_t* stereo,
                   std::size_t frames);

 private:
  void fill(CdIo_t* handle, std::uint32_t first_sector, std::uint32_t count);

  std::vector<std::uint8_t> chunk_;
  std::uint32_t chunk_first_ = 0;
  std::uint32_t chunk_count_ = 0;
};

// The first sector after the run of audio tracks that holds `sector`, or 0 when
// `sector` lies outside every audio track.
std::uint32_t cd_audio_run_end(const CdToc& toc, std::uint32_t sector);

}  // namespace audio
