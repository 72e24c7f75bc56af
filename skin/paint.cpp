#include "skin/paint.h"

#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/seams.h"

LRESULT paint_rack(HWND window, UINT, WPARAM, LPARAM) {
  // The update region is ignored: every paint redraws the whole rack.
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  SelectPalette(dc, application_palette, FALSE);
  RealizePalette(dc);
  for (const ModuleFace& face : kModuleFaces)
    if (module_shown(face.module)) copy_skin_bitmap(dc, face.bitmap, 0, module_top(face.module), kFaceWidth, face.height);
  UpdateColors(dc);
  EndPaint(window, &ps);
  run_module_steps(rack_seams().live_redraws);
  return 0;
}
