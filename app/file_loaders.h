#pragma once
// Where a file from the desktop can go, one row each: the wave decks, the
// MIDI deck and the CD drive. A load that fails tells the user why itself.
#include <string>

#include "app/open_with.h"

enum class LoadTarget { WaveDeck1, WaveDeck2, ActiveWaveDeck, MidiDeck, CdDrive };

struct FileLoader {
  LoadTarget target;
  const char* what;   // "MIDI deck": for messages
  const char* takes;  // "MIDI files"
  void (*load)(const std::string& path);
};

// The row for a target; null when the rack has no such place.
const FileLoader* find_loader(LoadTarget target);
// Where "open with" puts a file of this kind; null for a kind the rack does not play.
const FileLoader* open_with_loader(FileKind kind);
