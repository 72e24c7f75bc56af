#pragma once
// String resources.
#include "platform/wintypes.h"

// File-dialog filters: "name|pattern|...|", the bars turned into NULs by the caller.
constexpr WORD IDS_WAVE_FILTER = 1001;
constexpr WORD IDS_MIDI_FILTER = 1002;
// The recording's Save dialog: it writes wave files only.
constexpr WORD IDS_WAVE_SAVE_FILTER = 1003;
// The playlist editor offers M3U and M3U8 playlists after the deck's own filter.
constexpr WORD IDS_PLAYLIST_FILES_FILTER = 1004;
// The editor's Export writes M3U8 files.
constexpr WORD IDS_M3U8_SAVE_FILTER = 1005;
// The desktop commands' Open dialogs: Insert disc image..., the SoundFont of Preferences.
constexpr WORD IDS_DISC_IMAGE_FILTER = 1101;
constexpr WORD IDS_SOUNDFONT_FILTER = 1102;
