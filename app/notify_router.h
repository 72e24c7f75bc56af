#pragma once
// The end of a play, as MM_MCINOTIFY brings it, turned into the deck's next
// action. Each deck joins with one row {its device, its end-of-play rule}.
#include "platform/wintypes.h"

// MM_MCINOTIFY: wparam the notify flags, the low 16 bits of lparam the device.
LRESULT route_mci_notify(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
