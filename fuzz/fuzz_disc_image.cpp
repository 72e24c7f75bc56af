// Fuzzes disc images: an arbitrary CUE or TOC sheet beside two small BIN files
// of arbitrary length (whole sectors or not), opened through our staging and
// the CD reader, then read from every track, ejected and put back. What must
// hold for an image the reader accepts:
// - tracks are numbered upwards from 1 and lie one after another, in order;
// - a read never gives more frames than asked, and none outside the audio tracks;
// - an image put back reads as it did when opened.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fuzz_files.h"
#include "platform/audio/cd/cd_drive.h"

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

constexpr std::size_t kSectorBytes = 2352;

// Up to eight sectors and a part of one, of a pattern that is not silence.
std::string bin_bytes(FuzzedDataProvider& in) {
  const std::size_t size = in.ConsumeIntegralInRange<std::size_t>(0, 8 * kSectorBytes + kSectorBytes - 1);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + 1);
  return bytes;
}

void check_tracks(const std::vector<audio::CdTrack>& tracks) {
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    check(tracks[i].number == static_cast<int>(i) + 1, "tracks are not numbered 1, 2, ...");
    // In 64 bits, so that a length wrapped below zero shows.
    if (i > 0)
      check(std::uint64_t{tracks[i - 1].lba} + tracks[i - 1].sectors == tracks[i].lba, "tracks do not follow each other");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string dir = fuzzfiles::scratch_folder();
  FuzzedDataProvider in(data, size);
  fuzzfiles::empty_folder(dir);
  const std::string sheet = dir + (in.ConsumeBool() ? "/disc.toc" : "/disc.cue");
  fuzzfiles::write_file(dir + "/disc.bin", bin_bytes(in));
  fuzzfiles::write_file(dir + "/other.bin", bin_bytes(in));
  fuzzfiles::write_file(sheet, in.ConsumeRemainingBytesAsString());

  audio::CdDrive drive;
  std::string error;
  if (!drive.open(sheet, &error)) {
    check(!error.empty(), "a refused image has no message");
    return 0;
  }
  const std::vector<audio::CdTrack> tracks = drive.tracks();
  check_tracks(tracks);
  std::vector<std::int16_t> frames(2 * 2 * audio::kCdFramesPerSector);
  for (const audio::CdTrack& t : tracks) {
    const std::uint64_t first = std::uint64_t{t.lba} * audio::kCdFramesPerSector;
    const std::size_t got = drive.read_frames(first, frames.data(), 2 * audio::kCdFramesPerSector);
    check(got <= 2 * audio::kCdFramesPerSector, "a read gave more than asked");
    if (!t.audio) check(got == 0, "a data track read as sound");
    drive.cdtext_title(t.number);
    drive.cdtext_performer(t.number);
  }
  if (!tracks.empty()) {
    const audio::CdTrack& last = tracks.back();
    const std::uint64_t past = (std::uint64_t{last.lba} + last.sectors) * audio::kCdFramesPerSector;
    check(drive.read_frames(past, frames.data(), audio::kCdFramesPerSector) == 0, "a read past the lead-out gave frames");
  }
  check(drive.eject(&error) && !drive.media_present(), "an image did not come out");
  if (drive.close_tray(&error)) {
    const std::vector<audio::CdTrack>& again = drive.tracks();
    check(again.size() == tracks.size(), "an image put back has other tracks");
  }
  return 0;
}
