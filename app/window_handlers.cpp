#include "app/window_handlers.h"

#include "app/hit_test.h"
#include "platform/ui/windows.h"
#include "skin/paint.h"
#include "skin/rack_state.h"

int hand_shown = 0;
HCURSOR arrow_cursor = nullptr;

LRESULT on_mouse_move(HWND window, UINT, WPARAM, LPARAM lparam) {
  const bool hit = hit_test(lparam).command != 0;
  if (hit && hand_shown == 0) {
    SetClassLongPtrA(window, GCL_HCURSOR, reinterpret_cast<LONG_PTR>(hand_cursor));
    hand_shown = 1;
  } else if (!hit && hand_shown == 1) {
    SetClassLongPtrA(window, GCL_HCURSOR, reinterpret_cast<LONG_PTR>(arrow_cursor));
    hand_shown = 0;
  }
  return 0;
}

LRESULT on_left_button_down(HWND window, UINT, WPARAM, LPARAM lparam) {
  const Hit hit = hit_test(lparam);
  if (hit.command != 0)
    PostMessageA(main_window, WM_COMMAND, hit.command, hit.lparam);
  else
    // Neither a button nor a click area: the user drags the window by its face.
    DefWindowProcA(window, WM_NCLBUTTONDOWN, HTCAPTION, lparam);
  return 0;
}

LRESULT on_system_key(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Only Alt+F4 gets through; the system-menu keys do nothing.
  if (wparam == VK_F4) return DefWindowProcA(window, message, wparam, lparam);
  return 0;
}

namespace {

void realise_palette(bool repaint) {
  HDC dc = GetDC(main_window);
  SelectPalette(dc, application_palette, FALSE);
  RealizePalette(dc);
  if (repaint)
    InvalidateRect(main_window, nullptr, FALSE);
  else
    UpdateColors(dc);
  ReleaseDC(main_window, dc);
}

}  // namespace

LRESULT on_set_focus(HWND, UINT, WPARAM, LPARAM) {
  realise_palette(true);
  return 0;
}

LRESULT on_query_new_palette(HWND, UINT, WPARAM, LPARAM) {
  realise_palette(true);
  return 1;
}

LRESULT on_palette_changed(HWND, UINT, WPARAM wparam, LPARAM) {
  if (reinterpret_cast<HWND>(wparam) != main_window) realise_palette(true);
  return 0;
}

LRESULT on_minimise(HWND window, UINT, WPARAM, LPARAM) {
  ShowWindow(window, SW_MINIMIZE);
  return 0;
}
