#pragma once
// The playlist stores ("wavelist.ini", "midilist.ini") and their scratch
// copies ("wavetemp.ini", "miditemp.ini") in the Windows directory, read and
// written through the profile functions. A store holds the play list the decks
// play (section "Templist"), the named playlists ("Playlist": "TotalPlaylist"
// and the names under "1".."N"; one section per name) and "Settings"
// "CurrentPlaylist". The editor is the only writer. Values are read whole:
// nothing here cuts a path or a name. UI thread only.
#include <string>
#include <vector>

#include "decks/decks.h"

inline constexpr const char* kNoTitle = "No Title";
inline constexpr const char* kPlayListSection = "Templist";

struct StoreFiles {
  std::string store;
  std::string scratch;
};
StoreFiles store_files(DeckKind kind);

// A value read whole, "No Title" when missing.
std::string read_entry(const char* section, const char* key, const std::string& file);
// "TotalListItems" of a section (0 when missing or not positive) and its entries "0".."count-1".
std::vector<std::string> read_list(const std::string& section, const std::string& file);
// "TotalListItems" of a section alone.
int read_list_count(const std::string& section, const std::string& file);
// The names "1".."TotalPlaylist" of the "Playlist" section.
std::vector<std::string> read_playlist_names(const std::string& file);

// Deletes any scratch file, then copies the store's named playlists, their
// names and "Settings" into it (only when the store has playlists).
void copy_store_to_scratch(const StoreFiles& files);
// The playlist `name` in the scratch file: its old section goes, then the count and entries.
void write_scratch_playlist(const std::string& scratch, const std::string& name, const std::vector<std::string>& entries);

// Confirm's rewrite of the store, all or nothing: the old store goes; the play
// list when `play_list` is not empty; when `names` is not empty, "Settings"
// "CurrentPlaylist" (names[current], or the first name when current < 0), the
// names in order, and each name's section copied from the scratch file.
// False when the store could not be written (it is then as it was).
bool write_store(const StoreFiles& files, const std::vector<std::string>& play_list,
                 const std::vector<std::string>& names, int current);

// Removes a file through the profile functions (OF_DELETE); a missing one is fine.
void delete_profile_file(const std::string& file);
