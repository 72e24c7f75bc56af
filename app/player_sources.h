#pragma once
// The sources the desktop's media keys can drive: the wave decks, the MIDI
// deck and the CD, each as one row: what it holds, how it stands, what the
// player object shows of it, and the commands its own buttons send.
#include <span>

#include "platform/desktop/mpris.h"
#include "platform/wintypes.h"

enum class SourceState { Stopped, Playing, Paused };

struct PlayerSource {
  const char* name;
  bool (*present)();             // holds something to play: a file, a ready disc
  SourceState (*state)();
  // Fills title, url, track number and id, length and position.
  void (*describe)(MprisState& out);
  bool (*can_step)();            // Next and Previous mean something now
  WORD activate;                 // sent before any other command (the wave deck made active); 0: none
  WORD play;
  WORD pause;
  WORD stop;
  WORD next;                     // a command, or a playlist step button (its short click runs)
  WORD previous;
};

// In the order a source is picked when none was played yet.
std::span<const PlayerSource> player_sources();
