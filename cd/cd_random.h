#pragma once
// The random order of the Random command: a generator with the standard
// library's formula, and the draw that makes a permutation of all tracks.
#include <cstdint>

#include "cd/cd_deck.h"

struct CdRandom {
  std::uint32_t state;
  // state := state × 214013 + 2531011; bits 16-30 of the new state, 0 … 32767.
  int draw();
};

// The six-digit number a draw shows (0 … 999998); its last two digits pick the track index.
int random_figure(int draw);

// A permutation of 1 … track_count in list[0 … track_count - 1], ended by the
// terminator. Every draw's figure is passed to `shown` (the display flickers).
void make_random_order(int track_count, std::uint32_t seed, TrackList* list, void (*shown)(int figure));
