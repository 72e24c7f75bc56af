#pragma once
// The playlist editor as the rack sees it: the command that opens it for a
// deck (119 wave deck 1, 120 wave deck 2, 121 the MIDI deck) and the rack
// tick's steps that give its Play button back its "&Play" caption once the
// deck it was opened for has stopped. UI thread only.
#include "platform/wintypes.h"

// Commands 119, 120 and 121: runs the editor (a modal dialog) for that deck.
LRESULT open_playlist_editor(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Rack tick while the MIDI deck is shown / while the wave decks are shown.
void midi_editor_caption_step();
void wave_editor_caption_step();

// The command the editor was last opened with (0 before the first time).
WORD playlist_editor_target();
