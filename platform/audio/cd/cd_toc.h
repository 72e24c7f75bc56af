#pragma once
// A disc's table of contents and CD-Text, read once from a libcdio handle.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio/cd/cd_drive.h"

typedef struct _CdIo CdIo_t;

namespace audio {

struct CdToc {
  std::vector<CdTrack> tracks;
  std::uint32_t leadout = 0;  // first sector after the last track
  // CD-Text by track number; index 0 is the disc.
  std::vector<std::string> titles;
  std::vector<std::string> performers;
};

// Fills *toc from the handle. False (and an empty toc) when the handle has no
// believable table: no tracks, numbers out of 1..99, or addresses that do not rise.
bool cd_read_toc(CdIo_t* handle, CdToc* toc);

}  // namespace audio
