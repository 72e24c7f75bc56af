// How much the CD reader costs over libcdio itself: whole-disc reads of a
// generated five-minute image, once as a bare cdio_read_audio_sectors loop and
// once through CdDrive::read_frames in the engine's block size.
#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "media/disc_image.h"
#include "platform/audio/cd/cd_drive.h"

namespace {

constexpr int kTracks = 6;
constexpr double kTrackSeconds = 50.0;
constexpr int kRounds = 5;
constexpr std::size_t kEngineBlock = 4096;  // frames per read, as the engine's reader asks
constexpr std::uint32_t kRawChunk = 16;     // sectors per libcdio call, as CdDrive reads

struct Figure {
  double seconds = 1e30;  // best of the rounds: the page cache is warm after the first
  std::uint64_t bytes = 0;
};

Figure best_of(const std::function<std::uint64_t()>& run) {
  Figure figure;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    figure.bytes = run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    figure.seconds = std::min(figure.seconds, took.count());
  }
  return figure;
}

void print(const char* name, const Figure& figure) {
  const double audio_seconds = static_cast<double>(figure.bytes) / (44100.0 * 4);
  std::printf("%-34s %8.1f MB/s  %8.0fx real time  (%.1f ms for %.0f s of audio)\n", name,
              static_cast<double>(figure.bytes) / figure.seconds / 1e6, audio_seconds / figure.seconds,
              figure.seconds * 1e3, audio_seconds);
}

void quiet(cdio_log_level_t, const char[]) {}

}  // namespace

int main() {
  cdio_log_set_handler(quiet);
  char pattern[] = "/tmp/quorvin-bench-cd-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string dir = pattern;
  const std::string cue =
      testmedia::write_cd_image(dir, "bench", testmedia::cd_image_of(std::vector<double>(kTracks, kTrackSeconds)));

  audio::CdDrive drive;
  std::string error;
  if (!drive.open(cue, &error)) {
    std::fprintf(stderr, "bench_cd: %s\n", error.c_str());
    return 1;
  }
  const std::uint32_t first = drive.tracks().front().lba;
  const std::uint32_t end = drive.tracks().back().lba + drive.tracks().back().sectors;

  CdIo_t* raw = cdio_open(cue.c_str(), DRIVER_BINCUE);
  std::vector<std::uint8_t> sectors(kRawChunk * CDIO_CD_FRAMESIZE_RAW);
  const Figure plain = best_of([&] {
    std::uint64_t bytes = 0;
    for (std::uint32_t lba = first; lba < end; lba += kRawChunk) {
      const std::uint32_t count = std::min(kRawChunk, end - lba);
      if (cdio_read_audio_sectors(raw, sectors.data(), cdio_lba_to_lsn(lba), count) != DRIVER_OP_SUCCESS) break;
      bytes += std::uint64_t{count} * CDIO_CD_FRAMESIZE_RAW;
    }
    return bytes;
  });
  cdio_destroy(raw);

  std::vector<std::int16_t> block(kEngineBlock * 2);
  const Figure reader = best_of([&] {
    std::uint64_t frame = std::uint64_t{first} * audio::kCdFramesPerSector;
    std::uint64_t bytes = 0;
    while (const std::size_t got = drive.read_frames(frame, block.data(), kEngineBlock)) {
      frame += got;
      bytes += got * 4;
    }
    return bytes;
  });

  std::printf("bench_cd: %d tracks x %.0f s image, best of %d rounds\n", kTracks, kTrackSeconds, kRounds);
  print("libcdio, 16-sector reads", plain);
  print("CdDrive::read_frames, 4096 frames", reader);
  std::printf("%-34s %8.2f (reader time / libcdio time)\n", "ratio", reader.seconds / plain.seconds);

  std::filesystem::remove_all(dir);
  return plain.bytes == reader.bytes ? 0 : 1;
}
