// The rows of the sources the media keys drive, each with the commands of its
// own buttons: the wave decks, the MIDI deck and the CD.
#include "app/player_sources.h"

#include <cstdio>
#include <functional>
#include <string>

#include "cd/cd.h"
#include "decks/decks.h"
#include "platform/mci/mmsystem.h"
#include "resources/ids/commands.h"

namespace {

SourceState state_of(const Deck& deck) {
  switch (deck.state) {
    case kPlaying: return SourceState::Playing;
    case kPaused: return SourceState::Paused;
    default: return SourceState::Stopped;
  }
}

// A track id names the deck and the file in it, so a new file is a new item to the desktop.
std::string deck_track_id(const Deck& deck) {
  char id[96];
  std::snprintf(id, sizeof id, "/org/quorvin/Quorvin/%s/f%zx", deck.alias, std::hash<std::string>{}(deck.path));
  return id;
}

void describe_deck(const Deck& deck, MprisState& out) {
  out.track_id = deck_track_id(deck);
  out.title = deck.file_name();
  out.url = "file://" + deck.path;
  out.length_us = static_cast<std::int64_t>(deck.length_ms) * 1000;
  out.position_us = static_cast<std::int64_t>(read_position(deck)) * 1000;
}

// A wave deck is a source while it holds a file to play; deck 2 recording, or
// waiting to, is not playing anything the keys could act on.
bool wave_present(int number) {
  const Deck& deck = wave_deck(number);
  if (!deck.loaded() || deck.state == kRecording) return false;
  return number == 1 || !new_recording_pending;
}

bool wave1_present() { return wave_present(1); }
bool wave2_present() { return wave_present(2); }
SourceState wave1_state() { return state_of(wave_deck(1)); }
SourceState wave2_state() { return state_of(wave_deck(2)); }
void describe_wave1(MprisState& out) { describe_deck(wave_deck(1), out); }
void describe_wave2(MprisState& out) { describe_deck(wave_deck(2), out); }
// The wave transport's playlist step acts on the active deck, which the keys make active first.
bool wave1_steps() { return playlist_of(wave_deck(1)).mode != 0; }
bool wave2_steps() { return playlist_of(wave_deck(2)).mode != 0; }

bool midi_present() { return midi_deck.loaded(); }
SourceState midi_state() { return state_of(midi_deck); }
void describe_midi(MprisState& out) { describe_deck(midi_deck, out); }
bool midi_steps() { return playlist_of(midi_deck).mode != 0; }

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
    {"wave1", wave1_present, wave1_state, describe_wave1, wave1_steps, CMD_ACTIVATE_TAPE1, CMD_WAVE_PLAY,
     CMD_WAVE_PLAY, CMD_WAVE_STOP, CMD_WAVE_FORWARD, CMD_WAVE_REWIND},
    {"wave2", wave2_present, wave2_state, describe_wave2, wave2_steps, CMD_ACTIVATE_TAPE2, CMD_WAVE_PLAY,
     CMD_WAVE_PLAY, CMD_WAVE_STOP, CMD_WAVE_FORWARD, CMD_WAVE_REWIND},
    {"midi", midi_present, midi_state, describe_midi, midi_steps, 0, CMD_MIDI_PLAY, CMD_MIDI_PAUSE, CMD_MIDI_STOP,
     CMD_MIDI_FORWARD, CMD_MIDI_REWIND},
    {"cd", cd_present, cd_state, describe_cd, cd_steps, 0, CMD_CD_PLAY, CMD_CD_PAUSE, CMD_CD_STOP, CMD_CD_NEXT,
     CMD_CD_PREVIOUS},
};

}  // namespace

std::span<const PlayerSource> player_sources() { return kSources; }
