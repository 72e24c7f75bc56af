#include "platform/audio/cd/cd_toc.h"

#include <cdio/cdio.h>
#include <cdio/cdtext.h>

namespace audio {
namespace {

constexpr int kMaxTrack = 99;

std::string text_or_empty(const cdtext_t* text, cdtext_field_t field, int track) {
  const char* value = text != nullptr ? cdtext_get_const(text, field, static_cast<track_t>(track)) : nullptr;
  return value != nullptr ? value : "";
}

}  // namespace

bool cd_read_toc(CdIo_t* handle, CdToc* toc) {
  *toc = CdToc{};
  const int first = cdio_get_first_track_num(handle);
  const int count = cdio_get_num_tracks(handle);
  // A drive without a readable disc answers CDIO_INVALID_TRACK (255) for both.
  if (first < 1 || count < 1 || first + count - 1 > kMaxTrack) return false;

  std::vector<CdTrack> tracks;
  for (int number = first; number < first + count; ++number) {
    const lba_t lba = cdio_get_track_lba(handle, static_cast<track_t>(number));
    if (lba == CDIO_INVALID_LBA || lba < 0) return false;
    const bool audio = cdio_get_track_format(handle, static_cast<track_t>(number)) == TRACK_FORMAT_AUDIO;
    tracks.push_back({number, static_cast<std::uint32_t>(lba), 0, audio});
  }
  const lba_t leadout = cdio_get_track_lba(handle, CDIO_CDROM_LEADOUT_TRACK);
  if (leadout == CDIO_INVALID_LBA || leadout < 0) return false;
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    const std::uint32_t end = i + 1 < tracks.size() ? tracks[i + 1].lba : static_cast<std::uint32_t>(leadout);
    if (end <= tracks[i].lba) return false;
    tracks[i].sectors = end - tracks[i].lba;
  }

  const cdtext_t* text = cdio_get_cdtext(handle);  // owned by the handle
  toc->titles.resize(first + count);
  toc->performers.resize(first + count);
  toc->titles[0] = text_or_empty(text, CDTEXT_FIELD_TITLE, 0);
  toc->performers[0] = text_or_empty(text, CDTEXT_FIELD_PERFORMER, 0);
  for (const CdTrack& track : tracks) {
    toc->titles[track.number] = text_or_empty(text, CDTEXT_FIELD_TITLE, track.number);
    toc->performers[track.number] = text_or_empty(text, CDTEXT_FIELD_PERFORMER, track.number);
  }
  toc->tracks = std::move(tracks);
  toc->leadout = static_cast<std::uint32_t>(leadout);
  return true;
}

}  // namespace audio
