#pragma once
// Preferences...: the platform's settings in platform.ini (output device,
// recording device, SoundFont, CD drive or disc image), applied at once where
// the libraries allow: the output moves to the new device while the decks
// play, the next recording uses the new input, the next MIDI file opened
// plays through the new SoundFont, and the CD drive is opened afresh.
#include "platform/wintypes.h"

// IDM_PREFERENCES: the modal Preferences dialog.
LRESULT show_preferences(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
