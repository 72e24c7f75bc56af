#pragma once
// "&Open..." of the three deck menus (103 deck 1, 105 deck 2, 112 MIDI): the
// Open dialog starting in the folder of the last file opened (settings key
// "LastDir" of section "Directory"), then the chosen file in the deck, out of
// playlist mode. UI thread only.
#include "platform/wintypes.h"

LRESULT open_deck_file(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
