#include "skin/owner_draw.h"

#include "platform/ui/windows.h"
#include "skin/buttons.h"
#include "skin/hold.h"
#include "skin/paint.h"
#include "skin/seams.h"

LRESULT draw_button(HWND, UINT, WPARAM wparam, LPARAM lparam) {
  const WORD id = LOWORD(wparam);
  const ButtonRow* row = find_button(id);
  if (row == nullptr) return 1;
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
  const bool pressed = item->itemAction == ODA_SELECT && (item->itemState & ODS_SELECTED);
  copy_skin_bitmap(item->hDC, MAKEINTRESOURCEA(pressed ? row->down : row->up), 0, 0, row->width, row->height);
  hold_track(id, item->itemAction, item->itemState);
  run_module_steps(rack_seams().after_button_drawn);
  return 1;
}
