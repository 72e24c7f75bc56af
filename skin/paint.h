#pragma once
// The rack's drawing resources, the skin bitmap loader and the face painting.
#include "platform/wintypes.h"

// One memory surface for every bitmap copy in the program.
extern HDC memory_surface;
extern HPALETTE application_palette;
extern HCURSOR hand_cursor;
// Display fonts: the CD grid and title, the wave deck and the MIDI display.
extern HFONT cd_grid_font;
extern HFONT cd_title_font;
extern HFONT wave_font;
extern HFONT midi_font;

// WM_CREATE: hand cursor, memory surface, fonts, palette. -1 fails the creation.
LRESULT create_drawing_resources(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// WM_PAINT: every shown face, then each module's live parts.
LRESULT paint_rack(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// WM_DESTROY's part: deletes the surface and fonts, destroys the hand cursor.
void delete_drawing_resources();

// Loads a skin bitmap by name or MAKEINTRESOURCEA number; the caller deletes it.
HBITMAP load_skin_bitmap(HWND window, HINSTANCE instance, LPCSTR name);
// Copies width × height of a skin bitmap to (x, y) of a context through the memory surface.
void copy_skin_bitmap(HDC dc, LPCSTR name, int x, int y, int width, int height);
