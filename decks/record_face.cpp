#include "decks/record_face.h"

#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "resources/ids/bitmaps.h"
#include "skin/buttons.h"
#include "skin/layout.h"
#include "skin/paint.h"
#include "skin/rack_state.h"

int record_flag = 0;

void draw_record_button_face() {
  // A take can end with the wave module hidden (a full disk, a close); the face is drawn when it shows.
  if (!module_shown(Module::Wave)) return;
  const ButtonRow& record = *find_button(CMD_WAVE_RECORD);
  HDC dc = GetDC(main_window);
  copy_skin_bitmap(dc, MAKEINTRESOURCEA(record_flag == 1 ? BMP_RECORD_FACE_RECORDING : record.up), record.left,
                   wave_top + record.top, record.width, record.height);
  ReleaseDC(main_window, dc);
}
