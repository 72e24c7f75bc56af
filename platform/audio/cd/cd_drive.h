#pragma once
// An audio CD over libcdio: a real drive or a disc image (CUE/BIN, TOC, NRG).
//
// Sector numbers are libcdio LBAs: a pressed disc's first track starts at 150
// (00:02:00 as MSF, the two-second lead-in), and a disc image gets the same
// 150-sector offset. An absolute frame is sector × 588 in that numbering, so an
// MSF time m:s:f is frame (m × 60 × 75 + s × 75 + f) × 588.
//
// Threads: read_frames runs on the engine's reader thread; every other member
// belongs to one controlling thread (the UI thread). A mutex guards the libcdio
// handle and the table read_frames clamps against, so a read never races open,
// eject, close_tray or media_present. tracks() hands out a reference to a table
// that only the controlling thread changes (in open, media_present, eject and
// close_tray).
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
  std::uint32_t lba;     // first sector (libcdio LBA, see above)
  std::uint32_t sectors; // length in sectors: the next track's lba (or the lead-out) minus lba
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

  // Opens a drive (a device node such as /dev/sr0) or an image file (.cue, .toc,
  // .nrg, or a .bin next to its .cue; any other name only if it is an NRG
  // image). An image's structure is checked before libcdio reads it. A drive
  // with no disc or an open tray opens fine (media_present() is then false); a
  // missing, unreadable, damaged or unrecognised image, or an empty name, fails
  // with a plain sentence naming it and the fault in *error (may be null).
  // Reopening closes what was open.
  bool open(const std::string& device_or_image, std::string* error);
  bool is_image() const;
  // Re-reads the table of contents; false when no disc is in (or the image is out).
  bool media_present();
  // A drive is asked each time (a tray opened by its own button shows at once;
  // the track table stays until media_present); a drive that cannot tell and an
  // image answer as last seen by open, media_present, eject or close_tray.
  bool door_open() const;
  // Real drive: moves the tray. Image: "out" (door open, no media, no tracks)
  // and back in again (the image file is read afresh).
  bool eject(std::string* error);
  bool close_tray(std::string* error);
  // The sentence of the last failed open or image load (open, media_present,
  // close_tray); "" once one succeeds.
  const std::string& refusal() const;
  // Empty while no disc is in.
  const std::vector<CdTrack>& tracks() const;
  // Reads 16-bit interleaved stereo frames (left, right) from absolute frame
  // `first_frame`; returns frames read. Stops at the lead-out and at the first
  // data track; a start outside the audio tracks reads 0. An unreadable sector
  // on a real disc reads as silence. Runs on the reader thread.
  std::size_t read_frames(std::uint64_t first_frame, std::int16_t* stereo, std::size_t frames);
  // CD-Text: track 0 is the disc. "" when absent.
  std::string cdtext_title(int track) const;
  std::string cdtext_performer(int track) const;

 private:
  bool open_source(const std::string& device_or_image, std::string* error);
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace audio
