// The rows of the sources the media keys drive, each with the commands of its
// own buttons: the CD (the decks add theirs).
#include "app/player_sources.h"

#include <cstdio>
#include <functional>
#include <string>

#include "cd/cd.h"
#include "platform/mci/mmsystem.h"
#include "resources/ids/commands.h"

namespace {

std::string cd_reply(const std::string& command) {
  char reply[64] = "";
  if (mciSendStringA(command.c_str(), reply, sizeof reply, nullptr) != 0) return "";
  return reply;
}

// The deck keeps the device in TMSF: a position reads "tt:mm:ss:ff", a track's
// length "mm:ss:ff" (75 frames a second). The track of a position goes to *track.
std::int64_t cd_time_us(const std::string& text, int* track) {
  int v[4] = {0, 0, 0, 0};
  const int n = std::sscanf(text.c_str(), "%d:%d:%d:%d", &v[0], &v[1], &v[2], &v[3]);
  if (n == 4 && track != nullptr) *track = v[0];
  const int* msf = n == 4 ? v + 1 : v;
  if (n < 3) return 0;
  return ((msf[0] * 60LL + msf[1]) * 75 + msf[2]) * 1'000'000 / 75;
}

bool cd_present() { return cd_ready() != 0; }

SourceState cd_state() {
  const std::string mode = cd_reply("status cdaudio mode");
  if (mode == "playing") return SourceState::Playing;
  if (mode == "paused") return SourceState::Paused;
  return SourceState::Stopped;
}

void describe_cd(MprisState& out) {
  const int track = cd_current_track();
  out.album = cd_disc_title();
  char id[96];
  std::snprintf(id, sizeof id, "/org/quorvin/Quorvin/cd/d%zx/t%d", std::hash<std::string>{}(out.album), track);
  out.track_id = id;
  out.track_number = track;
  const std::string title = cd_track_title(track);
  out.title = title.empty() ? "Track " + std::to_string(track) : title;
  out.length_us = cd_time_us(cd_reply("status cdaudio length track " + std::to_string(track)), nullptr);
  int at = 0;
  const std::int64_t position = cd_time_us(cd_reply("status cdaudio position"), &at);
  out.position_us = at == track ? position : 0;
}

// Previous and next are the CD's own track skips, always there.
bool cd_steps() { return true; }

constexpr PlayerSource kSources[] = {
    {"cd", cd_present, cd_state, describe_cd, cd_steps, 0, CMD_CD_PLAY, CMD_CD_PAUSE, CMD_CD_STOP, CMD_CD_NEXT,
     CMD_CD_PREVIOUS},
};

}  // namespace

std::span<const PlayerSource> player_sources() { return kSources; }
