#pragma once
#include "platform/wintypes.h"

// The 250 ms rack timer: the hold step, then each shown module's tick steps.
void CALLBACK rack_timer_tick(HWND window, UINT message, UINT_PTR id, DWORD time);
