#pragma once
// The title dialog (233) and, inside it, the track-title dialog (234).
#include "platform/wintypes.h"

// Opens the title dialog; true when its OK stored the titles.
bool run_title_dialog(HWND owner);
