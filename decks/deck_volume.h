#pragma once
#include "platform/wintypes.h"

// Hold steps of the decks' volume buttons: one step on the deck's mixer channel.
LRESULT midi_volume_hold(HWND window, UINT message, WPARAM wparam, LPARAM lparam);  // 6007 down, 6008 up
LRESULT wave_volume_hold(HWND window, UINT message, WPARAM wparam, LPARAM lparam);  // 7006 down, 7007 up
