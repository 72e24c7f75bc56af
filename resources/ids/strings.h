#pragma once
// String resources.
#include "platform/wintypes.h"

// File-dialog filters: "name|pattern|...|", the bars turned into NULs by the caller.
constexpr WORD IDS_WAVE_FILTER = 1001;
constexpr WORD IDS_MIDI_FILTER = 1002;
// The recording's Save dialog: it writes wave files only.
constexpr WORD IDS_WAVE_SAVE_FILTER = 1003;
// The desktop commands' Open dialogs: Insert disc image..., the SoundFont of Preferences.
constexpr WORD IDS_DISC_IMAGE_FILTER = 1101;
constexpr WORD IDS_SOUNDFONT_FILTER = 1102;
