#pragma once
// A short click on a deck's Rewind or Forward button: the previous or next
// item of the deck's play list (6005/6006 the MIDI deck, 7004/7005 the active
// wave deck), wrapping at both ends. A deck that was playing plays the new
// item; a stopped or paused one is left Stopped at its start. Handler shape;
// any other identifier does nothing. UI thread only.
#include "platform/wintypes.h"

LRESULT playlist_step(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
