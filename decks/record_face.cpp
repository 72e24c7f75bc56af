#include "decks/record_face.h"

#include "app/rack_state.h"
#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/paint.h"

int record_flag = 0;

void draw_record_button_face() {
  HDC dc = GetDC(main_window);
  copy_skin_bitmap(dc, MAKEINTRESOURCEA(record_flag == 1 ? 260 : 171), 370, wave_top + 90, 30, 15);
  ReleaseDC(main_window, dc);
}
