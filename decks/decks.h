#pragma once
// The media decks as the rest of the program sees them: the deck states, the
// three deck records (the MIDI deck and wave decks 1 and 2), the open and close
// sequences every loader goes through, the active wave deck, the decks'
// playlist state and the pending new recording of deck 2.
//
// UI thread only: commands, ticks and MCI notifications all arrive as window
// messages, so the records need no locking. A deck is loaded exactly when its
// path is not empty; a loaded deck always has its device open (a failed open
// leaves the deck empty, never "loaded" without a device).
#include <cstddef>
#include <string>

#include "platform/mci/mmsystem.h"
#include "platform/wintypes.h"
#include "resources/ids/timers.h"

enum DeckState { kStopped = 0, kPlaying = 1, kPaused = 2, kRecording = 3 };
enum class DeckKind { Midi, Wave };

// What a wave deck reads from its device after every load.
struct WaveFormat {
  int channels = 0;
  int bits_per_sample = 0;
  int bytes_per_second = 0;
  int samples_per_second = 0;
};

struct Deck {
  DeckKind kind = DeckKind::Midi;
  int number = 0;               // 1 or 2 for a wave deck, 0 for the MIDI deck
  const char* alias = nullptr;  // "mymidi", "tape1", "tape2"
  std::string path;   // the loaded file's whole path; "" = no file
  std::size_t name_offset = 0;  // where the bare file name starts in path
  long length_ms = 0;
  DeckState state = kStopped;
  MCIDEVICEID device = 0;  // 0 while closed
  int auto_repeat = 0;
  int info_view = 0;  // 1: file information shown instead of the animation
  int modified = 0;   // deck 2: holds a recording that was not saved
  WaveFormat format;  // wave decks only

  bool loaded() const { return !path.empty(); }
  const char* file_name() const { return path.c_str() + name_offset; }
};

extern Deck midi_deck;
// Wave deck 1 or 2.
Deck& wave_deck(int number);
// The deck the wave transport and the wave playlist play on: 1 or 2.
extern int active_wave_deck;
Deck& active_deck();

// Playlist state of a deck: mode 1 while it plays from its playlist store,
// running 1 from the first item opened by Play until the list ends or Stop.
// resume_play: a step made while the deck was playing met an item that did not
// open; the next item that opens plays.
struct DeckPlaylist {
  int mode = 0;
  int running = 0;
  int resume_play = 0;
};
DeckPlaylist& playlist_of(const Deck& deck);
extern int midi_playlist_index;  // 0-based, into "midilist.ini"
extern int wave_playlist_index;  // 0-based, into "wavelist.ini", shared by both wave decks

// Deck 2 holds a new recording that has not started yet (its lamp blinks).
extern int new_recording_pending;
constexpr UINT_PTR kRecordingBlinkTimerId = TIMER_RECORDING_BLINK;
// Ends a pending new recording: the flag, its blink timer, the lamps redrawn.
void end_pending_recording();

// The open sequence: stops and closes what the deck holds, opens `path` under
// the deck's alias in milliseconds, and leaves the deck Stopped at 0 (a wave
// deck not modified). On deck 2 it ends a pending new recording. A failure
// (also a path holding '"', which a command string can not quote) is shown to
// the user and leaves the deck empty with its display cleared; playlist mode is
// left as it was. The caller finishes a successful load (see below).
bool open_into_deck(Deck& deck, const std::string& path, std::size_t name_offset);
// Where the bare file name of a path starts: after its last '/'.
std::size_t name_offset_of(const std::string& path);
// Finishing a load: the MIDI deck reads its length and draws its display; a
// wave deck reads its file information, draws its display and becomes active.
void midi_load_finished();
void wave_load_finished(int number);
// The close sequence without the user's side: stop and close the device, then
// the deck is empty and Stopped. Nothing happens to an empty deck.
void close_deck_device(Deck& deck);
// Makes wave deck 1 or 2 the active one and redraws the deck lamps.
void make_active(int number);

// The rest of a playlist item's load after open_into_deck: the display, the
// running flag, and play when `play` (the deck was playing or was asked to) or
// when an earlier item of a playing step failed to open. Returns whether it opened.
bool open_playlist_item(Deck& deck, const std::string& path, bool play);

// Position readouts: "status <alias> position" in ms; 0 when the device does not answer.
long read_position(const Deck& deck);

// The save question, asked before anything replaces or closes deck 2's
// unsaved recording ("<name> was modified. Do you want to save it?"). True
// when the caller may go on: nothing to save, saved, or the user declined.
// False when the user backed out of the Save dialog or the save failed (the
// user was told why): the caller then abandons its action, so the recording
// is never lost. Every loader into deck 2 asks it first.
bool ask_to_save_recording(HWND owner);

// The decks' commands that other modules wrap or call directly (handler shape).
// Close of deck 2 (106): the save question first; abandoned when it says so.
LRESULT close_tape2(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Redraws of the displays after another module changed a deck.
void repaint_midi_module();
void draw_wave_lcd(int number);
void refresh_wave_position(int number);
void draw_deck_lamps();
