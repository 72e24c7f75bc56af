#pragma once
#include "platform/wintypes.h"

// The 250 ms rack timer: hold steps and the polling of the decks.
void CALLBACK rack_timer_tick(HWND window, UINT message, UINT_PTR id, DWORD time);
