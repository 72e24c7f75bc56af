#pragma once
// The CD deck's one record: the device, the loaded disc, its three track lists
// and the play and repeat modes; loading and forgetting a disc; the track
// length, position and mode queries every other part of the deck rests on.
// UI thread only: commands, the rack tick and MCI notifications all run there.
#include <array>
#include <string>

#include "platform/mci/mmsystem.h"

// 1-based track numbers ended by kEndOfList. Room for a 128-entry program and
// its terminator (an audio disc has at most 99 tracks).
constexpr int kEndOfList = -1;
constexpr int kMaxProgram = 128;
using TrackList = std::array<int, kMaxProgram + 1>;

enum PlayMode { kPlayNormal = 0, kPlayRandom = 1, kPlayProgram = 2 };
enum RepeatMode { kRepeatOff = 0, kRepeatOne = 1, kRepeatAll = 2 };

struct CdDeck {
  int device_opened = 0;  // never reset once "open cdaudio" succeeded
  MCIDEVICEID device_id = 0;
  int ready = 0;          // a playable disc is loaded
  int track_count = 0;
  std::string identity;   // the disc's section in the settings file
  int titled = 0;         // the settings file holds titles for this disc
  TrackList normal{kEndOfList};
  TrackList random{kEndOfList};
  TrackList program{kEndOfList};
  TrackList* current = &normal;
  int index = 0;          // of the entry that plays or plays next
  int play_mode = kPlayNormal;
  int repeat_mode = kRepeatOff;
  int paused = 0;
  int play_failed = 0;
  int door_opened = 0;    // the next eject closes the tray
  int start_query = 0;    // the next position query asks for the media start
  MCIERROR last_result = 0;
};
extern CdDeck cd;

struct TrackTime {
  int minutes = 0, seconds = 0;
};
struct Position {
  int track = 0, minutes = 0, seconds = 0;
};

// Entries before the terminator.
int list_length(const TrackList& list);
// The track number at the current index of the current list.
int current_entry();

TrackTime track_length(int track);
// Only while ready; honours and clears start_query.
Position current_position();
// The position as the device reports it, without the start query (scan steps, tick).
Position playing_position();
DWORD device_mode();

// The disc's section name: "%02d-%02d%02d-%02d%02d-%02d%02d" of the track count,
// the total minutes and seconds, the first and the last track's length.
std::string disc_identity(int track_count, const TrackTime* lengths);

// Sends an MCI string without a reply, keeping its result as the last one.
MCIERROR cd_send(const char* command, HWND notify = nullptr);

void load_disc();
void forget_disc();
// The main window's creation: empty lists, every flag and count 0.
void cd_empty_record();
