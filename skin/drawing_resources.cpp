#include <vector>

#include "platform/ui/windows.h"
#include "resources/ids/bitmaps.h"
#include "resources/ids/window.h"
#include "skin/paint.h"
#include "skin/rack_state.h"
#include "skin/seams.h"

HDC memory_surface = nullptr;
HPALETTE application_palette = nullptr;
HCURSOR hand_cursor = nullptr;
HFONT cd_grid_font = nullptr;
HFONT cd_title_font = nullptr;
HFONT wave_font = nullptr;
HFONT midi_font = nullptr;

namespace {

// The palette is built once per process and kept across windows.
bool palette_pending = true;

HFONT display_font(int height) {
  return CreateFontA(height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0x22, "Times New Roman");
}

void build_application_palette(HWND window) {
  HBITMAP dib = static_cast<HBITMAP>(LoadImageA(program_instance, FACE_MIXER, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  RGBQUAD colours[256] = {};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  GetDIBColorTable(dc, 0, 256, colours);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);

  std::vector<BYTE> storage(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = 256;
  for (int i = 0; i < 256; ++i)
    palette->palPalEntry[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, colours[i].rgbReserved};
  application_palette = CreatePalette(palette);
  HDC window_dc = GetDC(window);
  SelectPalette(window_dc, application_palette, FALSE);
  RealizePalette(window_dc);
  ReleaseDC(window, window_dc);
}

}  // namespace

LRESULT create_drawing_resources(HWND window, UINT, WPARAM, LPARAM) {
  hand_cursor = LoadCursorA(program_instance, MAKEINTRESOURCEA(CURSOR_HAND));
  if (hand_cursor == nullptr) return -1;
  HWND desktop = GetDesktopWindow();
  HDC desktop_dc = GetDC(desktop);
  memory_surface = CreateCompatibleDC(desktop_dc);
  ReleaseDC(desktop, desktop_dc);
  if (memory_surface == nullptr) return -1;
  cd_grid_font = display_font(14);
  cd_title_font = display_font(13);
  wave_font = display_font(14);
  midi_font = display_font(13);
  if (!cd_grid_font || !cd_title_font || !wave_font || !midi_font) return -1;
  for (Step empty_records : rack_seams().on_create) empty_records();
  if (palette_pending) {
    build_application_palette(window);
    palette_pending = false;
  }
  return 0;
}

void delete_drawing_resources() {
  DeleteDC(memory_surface);
  memory_surface = nullptr;
  for (HFONT* font : {&cd_grid_font, &cd_title_font, &wave_font, &midi_font}) {
    if (*font) DeleteObject(*font);
    *font = nullptr;
  }
  DestroyCursor(hand_cursor);
  hand_cursor = nullptr;
}

HBITMAP load_skin_bitmap(HWND window, HINSTANCE instance, LPCSTR name) {
  HDC dc = GetDC(window);
  if (GetFocus() != nullptr) {
    SelectPalette(dc, application_palette, FALSE);
    RealizePalette(dc);
  }
  // Displays here are true colour: the resource's own bitmap is what gets copied.
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ReleaseDC(window, dc);
  return bitmap;
}

void copy_skin_bitmap(HDC dc, LPCSTR name, int x, int y, int width, int height) {
  HBITMAP bitmap = load_skin_bitmap(main_window, program_instance, name);
  HGDIOBJ previous = SelectObject(memory_surface, bitmap);
  BitBlt(dc, x, y, width, height, memory_surface, 0, 0, SRCCOPY);
  SelectObject(memory_surface, previous);
  DeleteObject(bitmap);
}
