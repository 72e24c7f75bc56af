#pragma once
#include "platform/wintypes.h"

// WM_DRAWITEM: draws a rack button's up or down face, feeds the hold
// mechanism, then runs the modules' after-drawing steps (the Record face).
LRESULT draw_button(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
