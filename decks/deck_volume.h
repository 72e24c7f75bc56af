#pragma once
#include "platform/wintypes.h"

// Hold steps of the decks' volume buttons: one step down or up on the deck's mixer channel.
LRESULT midi_volume_hold(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT wave_volume_hold(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
