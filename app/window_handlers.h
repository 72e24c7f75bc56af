#pragma once
// Handlers of the main window's own surface: pointer, keys, palette, minimise and close.
#include "platform/wintypes.h"

LRESULT on_mouse_move(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT on_left_button_down(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT on_system_key(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT on_set_focus(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT on_query_new_palette(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT on_palette_changed(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT on_minimise(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// WM_CLOSE and the power button: closes every medium, then destroys the window.
LRESULT close_sequence(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// WM_DESTROY: frees the drawing resources, writes the settings, ends the loop.
LRESULT destroy_sequence(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Hover state: 1 while the hand cursor is shown.
extern int hand_shown;
extern HCURSOR arrow_cursor;
