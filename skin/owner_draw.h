#pragma once
#include "platform/wintypes.h"

// WM_DRAWITEM: draws a rack button's up or down face and feeds the hold mechanism.
LRESULT draw_button(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
