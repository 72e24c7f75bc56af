#include "platform/audio/cd/cd_sector_reader.h"

#include <cdio/cdio.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace audio {
namespace {

constexpr std::uint32_t kChunkSectors = 16;  // 37 KB, about a fifth of a second
constexpr std::size_t kSectorBytes = CDIO_CD_FRAMESIZE_RAW;
constexpr std::size_t kFrameBytes = 4;

// libcdio hands out the disc's bytes: little-endian samples.
void copy_samples(const std::uint8_t* bytes, std::int16_t* samples, std::size_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(samples, bytes, count * 2);
  } else {
    for (std::size_t i = 0; i < count; ++i) {
      samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
  }
}

}  // namespace

std::uint32_t cd_audio_run_end(const CdToc& toc, std::uint32_t sector) {
  auto track = std::find_if(toc.tracks.begin(), toc.tracks.end(), [sector](const CdTrack& t) {
    return sector >= t.lba && sector - t.lba < t.sectors;
  });
  if (track == toc.tracks.end() || !track->audio) return 0;
  while (std::next(track) != toc.tracks.end() && std::next(track)->audio) ++track;
  return track->lba + track->sectors;
}

CdSectorReader::CdSectorReader() : chunk_(kChunkSectors * kSectorBytes) {}

void CdSectorReader::reset() { chunk_count_ = 0; }

void CdSectorReader::fill(CdIo_t* handle, std::uint32_t first_sector, std::uint32_t count) {
  chunk_first_ = first_sector;
  chunk_count_ = count;
  const lsn_t lsn = cdio_lba_to_lsn(static_cast<lba_t>(first_sector));
  if (cdio_read_audio_sectors(handle, chunk_.data(), lsn, count) == DRIVER_OP_SUCCESS) return;
  // One bad sector should not silence its neighbours: retry one by one, and let
  // what stays unreadable play as silence.
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t* sector = chunk_.data() + i * kSectorBytes;
    if (cdio_read_audio_sectors(handle, sector, lsn + static_cast<lsn_t>(i), 1) != DRIVER_OP_SUCCESS) {
      std::memset(sector, 0, kSectorBytes);
    }
  }
}

std::size_t CdSectorReader::read(CdIo_t* handle, const CdToc& toc, std::uint64_t first_frame,
                                 std::int16_t* stereo, std::size_t frames) {
  if (handle == nullptr || frames == 0) return 0;
  const std::uint64_t first_sector = first_frame / kCdFramesPerSector;
  if (first_sector >= toc.leadout) return 0;
  const std::uint32_t end_sector = cd_audio_run_end(toc, static_cast<std::uint32_t>(first_sector));
  if (end_sector == 0) return 0;
  const std::uint64_t end_frame = std::uint64_t{end_sector} * kCdFramesPerSector;
  frames = static_cast<std::size_t>(std::min<std::uint64_t>(frames, end_frame - first_frame));

  std::size_t done = 0;
  while (done < frames) {
    const std::uint64_t frame = first_frame + done;
    const auto sector = static_cast<std::uint32_t>(frame / kCdFramesPerSector);
    if (chunk_count_ == 0 || sector < chunk_first_ || sector >= chunk_first_ + chunk_count_) {
      fill(handle, sector, std::min(kChunkSectors, end_sector - sector));
    }
    const std::uint64_t chunk_frame = frame - std::uint64_t{chunk_first_} * kCdFramesPerSector;
    const std::uint64_t available = std::uint64_t{chunk_count_} * kCdFramesPerSector - chunk_frame;
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(available, frames - done));
    copy_samples(chunk_.data() + chunk_frame * kFrameBytes, stereo + done * 2, count * 2);
    done += count;
  }
  return done;
}

}  // namespace audio
