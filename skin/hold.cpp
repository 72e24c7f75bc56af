#include "skin/hold.h"

#include "platform/ui/windows.h"
#include "skin/buttons.h"
#include "skin/rack_state.h"
#include "skin/seams.h"

int hold_active = 0;
WORD held_button = 0;
int hold_ticks = 0;

namespace {

// A press of these shorter than two ticks is a click that steps the playlist.
bool counted(WORD id) {
  const ButtonRow* row = find_button(id);
  return row && row->kind == kHoldAndStep;
}

void run_row(std::span<const CommandRow> rows, WORD id) {
  for (const CommandRow& row : rows)
    if (row.id == id) row.handler(main_window, WM_COMMAND, id, 0);
}

}  // namespace

bool is_hold_button(WORD id) {
  const ButtonRow* row = find_button(id);
  return row && row->kind != kClick;
}

void hold_track(WORD id, UINT action, UINT state) {
  if (!is_hold_button(id)) {
    // Drawing another button (other than a whole redraw) ends any hold.
    if (action != ODA_DRAWENTIRE) hold_active = 0;
    return;
  }
  if (action == ODA_DRAWENTIRE) return;
  if (action == ODA_SELECT && (state & ODS_SELECTED)) {
    hold_active = 1;
    held_button = id;
  } else if (action == ODA_SELECT) {
    hold_active = 0;
    if (hold_ticks < 2) run_row(rack_seams().short_clicks, id);
    hold_ticks = 0;
  } else {
    hold_active = 0;
  }
}

void hold_step() {
  hold_ticks = counted(held_button) ? hold_ticks + 1 : 0;
  run_row(rack_seams().hold_steps, held_button);
}
