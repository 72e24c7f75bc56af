#pragma once
// The 3D sound unit: the card's stereo effect switch and its two fixed settings.
#include "platform/wintypes.h"

// 1 while the mixer has a 3D switch; set before the mixer opens, cleared when none is found.
extern int sound3d_present;
// 1 while the effect is on; mirrors the switch control.
extern int sound3d_on;
// Written to the settings file at every shutdown; nothing in the program changes them.
extern const BYTE sound3d_space;
extern const BYTE sound3d_depth;

// Command 5000.
LRESULT toggle_sound3d(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
