#pragma once
// An audio CD over libcdio: a real drive or a disc image (CUE/BIN, TOC, NRG).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace audio {

constexpr int kCdFramesPerSector = 588;  // 2352 bytes of 16-bit stereo
constexpr int kCdSectorsPerSecond = 75;

struct CdTrack {
  int number;            // 1-based
  std::uint32_t lba;     // first sector
  std::uint32_t sectors; // length in sectors
  bool audio;            // false for a data track
};

// The drive or image the platform settings name (QUORVIN_CDROM, platform.ini),
// else the first drive found, else "".
std::string cd_default_device();

class CdDrive {
 public:
  CdDrive();
  ~CdDrive();
  CdDrive(const CdDrive&) = delete;
  CdDrive& operator=(const CdDrive&) = delete;

  bool open(const std::string& device_or_image, std::string* error);
  bool is_image() const;
  // Re-reads the table of contents; false when no disc is in (or the image is out).
  bool media_present();
  bool door_open() const;
  // Real drive: moves the tray. Image: "out" and back in again.
  bool eject(std::string* error);
  bool close_tray(std::string* error);
  const std::vector<CdTrack>& tracks() const;
  // Reads 16-bit stereo frames from absolute frame `first_frame` (sector × 588);
  // returns frames read, clamped at the lead-out. Runs on the reader thread.
  std::size_t read_frames(std::uint64_t first_frame, std::int16_t* stereo, std::size_t frames);
  // CD-Text: track 0 is the disc. "" when absent.
  std::string cdtext_title(int track) const;
  std::string cdtext_performer(int track) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace audio
