#pragma once
// Disc images for tests and benchmarks: a CUE sheet and one BIN file with audio
// tracks (a sine of its own frequency per track, so content can be checked
// sample for sample) and optional MODE1/2352 data tracks and CD-Text.
#include <cstdint>
#include <string>
#include <vector>

namespace testmedia {

constexpr int kCdImageRate = 44100;
constexpr int kCdImageFramesPerSector = 588;
constexpr int kCdImageSectorsPerSecond = 75;

struct CdImageTrack {
  std::uint32_t sectors = 4 * kCdImageSectorsPerSecond;
  bool audio = true;
  double frequency = 440.0;  // of the sine an audio track holds
  std::string title;         // CD-Text; "" writes no line
  std::string performer;
};

struct CdImage {
  std::vector<CdImageTrack> tracks;
  std::string title;  // disc CD-Text
  std::string performer;
};

// Audio tracks of the given lengths in seconds, each with a frequency of its own
// (cd_image_frequency), then `data_tracks` data tracks of two seconds.
CdImage cd_image_of(const std::vector<double>& audio_seconds, int data_tracks = 0);
// 330 Hz, 440 Hz, 550 Hz, … for tracks 0, 1, 2, …
double cd_image_frequency(std::size_t track_index);

// Writes <dir>/<name>.bin and <dir>/<name>.cue; returns the CUE's path.
std::string write_cd_image(const std::string& dir, const std::string& name, const CdImage& image);

// NRG images (audio tracks only, laid out as a disc-at-once image: 150 silent
// sectors, the tracks, then the chunk table and the 12-byte "NER5" footer).
// A chunk: its four-letter id, its big-endian length and its body.
std::string nrg_chunk(const std::string& id, const std::string& body);
// The CUEX and DAOX chunks that describe `image`.
std::string nrg_track_chunks(const CdImage& image);
// Writes <dir>/<file_name> holding `image`'s audio, then `chunks` and an END!
// chunk as the table, then the footer pointing at the table. Returns the path.
std::string write_nrg_image(const std::string& dir, const std::string& file_name, const CdImage& image,
                            const std::string& chunks);

// The 16-bit sample an audio track holds at `frame` (counted from the track's
// start) on `channel` (0 left, 1 right; the right channel is phase-shifted).
std::int16_t cd_image_sample(const CdImageTrack& track, std::uint64_t frame, int channel);

}  // namespace testmedia
