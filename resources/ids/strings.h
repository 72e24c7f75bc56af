#pragma once
// String resources.
#include "platform/wintypes.h"

// File-dialog filters: "name|pattern|...|", the bars turned into NULs by the caller.
constexpr WORD IDS_WAVE_FILTER = 1001;
constexpr WORD IDS_MIDI_FILTER = 1002;
// The recording's Save dialog: it writes wave files only.
constexpr WORD IDS_WAVE_SAVE_FILTER = 1003;
