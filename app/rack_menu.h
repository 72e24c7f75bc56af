#pragma once
// The rack's own menu, on a right-click where the face has no button and no
// click area: Preferences..., Insert disc image..., About and Quit.
#include "platform/wintypes.h"

// WM_RBUTTONUP on the main window.
LRESULT on_right_button_up(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// IDM_ABOUT: what the program is, in a box.
LRESULT show_about(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
