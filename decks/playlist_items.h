#pragma once
// The play list the decks play, as the playlist editor leaves it in the store
// files "midilist.ini" and "wavelist.ini" in the Windows directory: section
// "Templist", the count "TotalListItems" and the items "0", "1", ... (full
// paths). The decks read the store afresh at every command. UI thread only.
#include <optional>
#include <string>

#include "decks/decks.h"

// "midilist.ini" for the MIDI deck, "wavelist.ini" for either wave deck.
std::string playlist_store_path(DeckKind kind);
// The number of items; 0 for a missing store or a count that is not positive.
int playlist_item_count(DeckKind kind);
// The item at `index`; none for a gap (a missing key reads "No Title").
std::optional<std::string> playlist_item(DeckKind kind, int index);
