#include "decks/deck_model.h"

#include <cstdio>
#include <cstdlib>

#include "decks/midi_deck.h"
#include "decks/midi_display.h"
#include "decks/record_face.h"
#include "decks/wave_decks.h"
#include "decks/wave_display.h"
#include "platform/ui/windows.h"
#include "skin/rack_state.h"

namespace {

Deck new_deck(DeckKind kind, int number, const char* alias) {
  Deck deck;
  deck.kind = kind;
  deck.number = number;
  deck.alias = alias;
  return deck;
}

}  // namespace

Deck midi_deck = new_deck(DeckKind::Midi, 0, "mymidi");
int active_wave_deck = 1;
int midi_playlist_index = 0;
int wave_playlist_index = 0;
int new_recording_pending = 0;

namespace {

Deck wave_decks[2] = {new_deck(DeckKind::Wave, 1, "tape1"), new_deck(DeckKind::Wave, 2, "tape2")};
DeckPlaylist midi_playlist;
DeckPlaylist wave_playlists[2];

const char* device_type(const Deck& deck) { return deck.kind == DeckKind::Midi ? "sequencer" : "waveaudio"; }

// The deck holds nothing: what a close leaves, and what a failed open leaves.
void empty_deck(Deck& deck) {
  deck.path.clear();
  deck.name_offset = 0;
  deck.device = 0;
  deck.state = kStopped;
  deck.length_ms = 0;
  deck.modified = 0;
  deck.format = {};
}

// The MCI error box, with the file it was about: a playlist that steps over
// several items must say which one failed.
void show_open_failure(MCIERROR error, const std::string& path) {
  char text[256];
  if (!mciGetErrorStringA(error, text, sizeof text)) std::snprintf(text, sizeof text, "Unknown error %u.", error);
  const std::string message = std::string(text) + "\n\n" + path;
  MessageBoxA(main_window, message.c_str(), "MCI Error", MB_OK | MB_ICONEXCLAMATION);
}

void show_unquotable_path(const std::string& path) {
  const std::string message = "This file can not be opened: its name holds a double quote (\"), which a media "
                              "command can not carry.\n\n" + path;
  MessageBoxA(main_window, message.c_str(), "MCI Error", MB_OK | MB_ICONEXCLAMATION);
}

void clear_display(const Deck& deck) {
  if (deck.kind == DeckKind::Midi)
    repaint_midi_module();
  else
    blank_wave_deck(deck.number);
}

}  // namespace

Deck& wave_deck(int number) { return wave_decks[number == 2 ? 1 : 0]; }
Deck& active_deck() { return wave_deck(active_wave_deck); }

DeckPlaylist& playlist_of(const Deck& deck) {
  return deck.kind == DeckKind::Midi ? midi_playlist : wave_playlists[deck.number == 2 ? 1 : 0];
}

MCIERROR deck_command(const Deck& deck, const char* format) {
  char command[128];
  std::snprintf(command, sizeof command, format, deck.alias);
  return mciSendStringA(command, nullptr, 0, nullptr);
}

MCIERROR deck_seek(const Deck& deck, long ms) {
  char command[64];
  std::snprintf(command, sizeof command, "seek %s to %ld", deck.alias, ms);
  return mciSendStringA(command, nullptr, 0, nullptr);
}

MCIERROR deck_play(const Deck& deck) {
  char command[64];
  std::snprintf(command, sizeof command, "play %s notify", deck.alias);
  return mciSendStringA(command, nullptr, 0, main_window);
}

long deck_status(const Deck& deck, const char* item) {
  char command[64];
  std::snprintf(command, sizeof command, "status %s %s", deck.alias, item);
  char reply[50] = "";
  if (mciSendStringA(command, reply, sizeof reply, nullptr) != 0) return 0;
  return std::strtol(reply, nullptr, 10);
}

long read_position(const Deck& deck) { return deck_status(deck, "position"); }

void read_length(Deck& deck) { deck.length_ms = deck_status(deck, "length"); }

std::size_t name_offset_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

bool open_into_deck(Deck& deck, const std::string& path, std::size_t name_offset) {
  if (deck.loaded()) {
    deck_command(deck, "stop %s");
    deck_command(deck, "close %s");
  }
  // Whatever deck 2 held is gone now, a recording waiting to start included.
  if (deck.kind == DeckKind::Wave && deck.number == 2) end_pending_recording();
  empty_deck(deck);
  if (path.find('"') != std::string::npos) {
    clear_display(deck);
    show_unquotable_path(path);
    return false;
  }
  const std::string open = "open \"" + path + "\" type " + device_type(deck) + " alias " + deck.alias;
  MCIERROR error = mciSendStringA(open.c_str(), nullptr, 0, nullptr);
  if (error == 0) {
    error = deck_command(deck, "set %s time format milliseconds");
    if (error != 0) deck_command(deck, "close %s");
  }
  if (error != 0) {
    clear_display(deck);
    show_open_failure(error, path);
    return false;
  }
  deck.path = path;
  deck.name_offset = name_offset <= path.size() ? name_offset : name_offset_of(path);
  deck.device = mciGetDeviceIDA(deck.alias);
  deck.state = kStopped;
  return true;
}

void close_deck_device(Deck& deck) {
  if (!deck.loaded()) return;
  deck_command(deck, "stop %s");
  deck_command(deck, "close %s");
  empty_deck(deck);
}

void end_pending_recording() {
  if (!new_recording_pending) return;
  new_recording_pending = 0;
  KillTimer(main_window, kRecordingBlinkTimerId);
  draw_deck_lamps();
}

bool open_playlist_item(Deck& deck, const std::string& path, bool play) {
  DeckPlaylist& playlist = playlist_of(deck);
  if (!open_into_deck(deck, path, name_offset_of(path))) {
    if (play) playlist.resume_play = 1;
    return false;
  }
  if (deck.kind == DeckKind::Midi)
    midi_load_finished();
  else
    wave_load_finished(deck.number);
  playlist.running = 1;
  const bool start = play || playlist.resume_play;
  playlist.resume_play = 0;
  if (start) {
    if (deck.kind == DeckKind::Midi)
      midi_plain_play();
    else
      wave_play_pause_toggle();
  }
  return true;
}

void stop_and_rewind(Deck& deck, bool send_stop) {
  if (send_stop) deck_command(deck, "stop %s");
  deck_command(deck, "seek %s to start");
  deck.state = kStopped;
}

long seek_step(Deck& deck, long step) {
  if (!deck.loaded()) return -1;
  const bool was_playing = deck.state == kPlaying;
  deck.state = kStopped;
  long to = read_position(deck) + step;
  if (to < 0) to = 0;
  if (to > deck.length_ms) to = deck.length_ms;
  deck_seek(deck, to);
  if (was_playing) {
    deck_play(deck);
    deck.state = kPlaying;
  }
  return to;
}

void reset_decks() {
  midi_deck = new_deck(DeckKind::Midi, 0, "mymidi");
  wave_decks[0] = new_deck(DeckKind::Wave, 1, "tape1");
  wave_decks[1] = new_deck(DeckKind::Wave, 2, "tape2");
  active_wave_deck = 1;
  midi_playlist = {};
  wave_playlists[0] = wave_playlists[1] = {};
  midi_playlist_index = wave_playlist_index = 0;
  new_recording_pending = 0;
  record_flag = 0;
  reset_midi_display();
  reset_wave_display();
}

void plain_mci_error_box(MCIERROR error) {
  char text[128] = "";
  mciGetErrorStringA(error, text, sizeof text);
  MessageBoxA(main_window, text, "MCI error", MB_OK);
}
