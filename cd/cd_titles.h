#pragma once
// The disc title store: per disc a section of the settings file named by the
// disc identity with TRACKS, TITLE, TRACK01…, LENGTH and LIST. The titles
// shown are kept here for the loaded disc: the stored ones (cut to LENGTH, as
// every reader sizes its text by it), else the disc's CD-Text, else none.
// Nothing is written until the user saves titles or accepts a program.
// UI thread only.
#include <string>
#include <vector>

#include "cd/cd_deck.h"
#include "platform/wintypes.h"

struct DiscTitles {
  std::string disc;
  std::vector<std::string> tracks;  // [0] is track 1
};

// What the deck shows for the loaded disc.
const DiscTitles& shown_titles();
// "" for a track without a title or outside the disc.
const std::string& shown_track_title(int track);

// At load disc: whether the section is this disc's (TRACKS equals the count);
// then the titles shown and, when titled, the program from LIST.
bool read_disc_section(int track_count, TrackList* program);
// At forget disc.
void forget_titles();
// At the main window's creation: also the titles kept from failed saves.
void clear_title_store();

// Stores the titles as the disc's section. A write that fails tells the user
// once, in a box owned by `owner`, naming the file; the titles stay shown and
// are restored for this disc until the program ends.
void save_titles(HWND owner, const DiscTitles& titles);
// Writes LIST; a failed write is told the same way.
void save_program(HWND owner, const TrackList& program);

// LIST: " count entry entry …". Entries outside 1 … track count are skipped
// without counting; the count bounds what is taken; the text is read whole.
TrackList parse_program(const std::string& value, int track_count);
std::string format_program(const TrackList& program);

// "%02d  [%02d:%02d]  " and the track's shown title: always 13 characters, then the title.
constexpr int kTrackLinePrefix = 13;
std::string track_line(int track);
