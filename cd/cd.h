#pragma once
// What other modules may read of the CD deck: whether a disc is ready, the
// track that plays or plays next, and the titles shown for the loaded disc.
// The deck's commands are reached by their identifiers (8001 Play, 8002 Stop…).
// UI thread only.
#include <string>

// 1 while a playable disc is loaded.
int cd_ready();
// The track number at the current index of the current list; 0 without a disc.
int cd_current_track();
// The titles shown for the loaded disc (stored, else CD-Text); "" when none.
std::string cd_disc_title();
std::string cd_track_title(int track);

// The CD device was opened afresh under its name on another drive or disc
// image (Insert disc image..., a dropped image, Preferences): the old disc is
// forgotten and the new one loaded now, as when a tray closes, whether or not
// the panel is shown.
void cd_disc_changed();
