// Default handling of the messages the program passes on.
#include <QWindow>

#include "platform/ui/ui_internal.h"
#include "platform/ui/window_widgets.h"

using namespace ui_detail;

namespace {

LRESULT move_by_caption(HWND hwnd) {
  Window* top = top_level_of(find_window(hwnd));
  if (!top || !top->widget) return 0;
  QWindow* handle = top->widget->windowHandle();
  // Without a window manager there is no system move: follow the pointer ourselves.
  if (!handle || !handle->startSystemMove()) static_cast<SurfaceWidget*>(top->widget.data())->start_manual_drag();
  return 0;
}

LRESULT close_root(HWND hwnd) {
  Window* top = top_level_of(find_window(hwnd));
  if (top) SendMessageA(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
  return 0;
}

LRESULT system_command(HWND hwnd, WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      SendMessageA(hwnd, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      break;
    default:
      break;
  }
  return 0;
}


}  // namespace

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCLBUTTONDOWN:
      return wp == static_cast<WPARAM>(HTCAPTION) ? move_by_caption(hwnd) : 0;
    case WM_SYSKEYDOWN:
      return wp == VK_F4 ? close_root(hwnd) : 0;
    case WM_SYSCOMMAND:
      return system_command(hwnd, wp);
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SETTEXT:
      return store_text(hwnd, reinterpret_cast<LPCSTR>(lp));
    case WM_GETTEXT:
      return copy_text(hwnd, reinterpret_cast<LPSTR>(lp), static_cast<int>(wp));
    default:
      return 0;
  }
}
