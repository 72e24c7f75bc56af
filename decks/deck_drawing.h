#pragma once
// Drawing primitives of the deck displays: text lines on the LCDs, filled
// bars and parts of skin bitmaps, all through the main window's context.
#include <string>

#include "platform/wintypes.h"

constexpr COLORREF kLcdYellow = 0x0000FFFF;  // RGB(255, 255, 0)
constexpr COLORREF kLcdCyan = 0x00FFFF00;    // RGB(0, 255, 255)
constexpr COLORREF kLcdBlack = 0x00000000;
constexpr COLORREF kLcdRed = 0x000000FF;     // RGB(255, 0, 0)

// Runs `draw` with the main window's context, taken and released around it.
template <typename Draw>
void with_window_dc(Draw draw);

// Fills [left, right) × [top, bottom); nothing when it is empty.
void fill_area(HDC dc, int left, int top, int right, int bottom, COLORREF colour);
// One LCD line: `box` cleared to black, then `text` at x (aligned as `align`
// says, top at the box's top), clipped to the box. The context's colours,
// font and alignment are restored afterwards.
void lcd_text(HDC dc, HFONT font, COLORREF colour, UINT align, const RECT& box, int x, const std::string& text);
// Copies width × height of a skin bitmap from (source_x, source_y) to (x, y).
void copy_skin_part(HDC dc, WORD bitmap, int x, int y, int width, int height, int source_x, int source_y);

HDC window_dc();
void release_window_dc(HDC dc);

template <typename Draw>
void with_window_dc(Draw draw) {
  HDC dc = window_dc();
  draw(dc);
  release_window_dc(dc);
}
