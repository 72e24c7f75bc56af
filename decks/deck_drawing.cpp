#include "decks/deck_drawing.h"

#include "platform/ui/windows.h"
#include "skin/paint.h"
#include "skin/rack_state.h"

HDC window_dc() { return GetDC(main_window); }
void release_window_dc(HDC dc) { ReleaseDC(main_window, dc); }

void fill_area(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  if (left >= right || top >= bottom) return;
  const RECT area = {left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
}

void lcd_text(HDC dc, HFONT font, COLORREF colour, UINT align, const RECT& box, int x, const std::string& text) {
  const COLORREF old_text = SetTextColor(dc, colour);
  const COLORREF old_back = SetBkColor(dc, kLcdBlack);
  HGDIOBJ old_font = SelectObject(dc, font);
  const UINT old_align = SetTextAlign(dc, align | TA_TOP);
  ExtTextOutA(dc, x, box.top, ETO_OPAQUE | ETO_CLIPPED, &box, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  SetTextAlign(dc, old_align);
  SelectObject(dc, old_font);
  SetBkColor(dc, old_back);
  SetTextColor(dc, old_text);
}

void copy_skin_part(HDC dc, WORD bitmap, int x, int y, int width, int height, int source_x, int source_y) {
  HBITMAP picture = load_skin_bitmap(main_window, program_instance, MAKEINTRESOURCEA(bitmap));
  HGDIOBJ previous = SelectObject(memory_surface, picture);
  BitBlt(dc, x, y, width, height, memory_surface, source_x, source_y, SRCCOPY);
  SelectObject(memory_surface, previous);
  DeleteObject(picture);
}
