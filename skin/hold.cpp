#include "skin/hold.h"

#include <algorithm>
#include <iterator>

#include "app/dispatch.h"
#include "app/rack_state.h"
#include "cd/cd_volume.h"
#include "decks/deck_volume.h"
#include "mixer/mixer_panel.h"
#include "platform/ui/windows.h"

int hold_active = 0;
WORD held_button = 0;
int hold_ticks = 0;

namespace {

constexpr WORD kHoldButtons[] = {5007, 5008, 6005, 6006, 6007, 6008, 7004, 7005, 7006, 7007, 8007, 8008, 8009, 8010};
// A press of these shorter than two ticks is a click that steps the playlist.
constexpr WORD kCountedButtons[] = {6005, 6006, 7004, 7005};

struct HoldRow {
  WORD id;
  Handler step;
};
// The action each held button repeats on every tick.
constexpr HoldRow kHoldSteps[] = {
    {5007, hold_balance_left}, {5008, hold_balance_right},
    {6007, midi_volume_hold},  {6008, midi_volume_hold},
    {7006, wave_volume_hold},  {7007, wave_volume_hold},
    {8009, cd_volume_hold},    {8010, cd_volume_hold},
};

bool counted(WORD id) { return std::find(std::begin(kCountedButtons), std::end(kCountedButtons), id) != std::end(kCountedButtons); }

// The click action of the four playlist-step buttons joins with the playlists.
void short_press(WORD) {}

}  // namespace

bool is_hold_button(WORD id) {
  return std::find(std::begin(kHoldButtons), std::end(kHoldButtons), id) != std::end(kHoldButtons);
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
    if (hold_ticks < 2) short_press(id);
    hold_ticks = 0;
  } else {
    hold_active = 0;
  }
}

void hold_step() {
  hold_ticks = counted(held_button) ? hold_ticks + 1 : 0;
  for (const HoldRow& row : kHoldSteps)
    if (row.id == held_button) row.step(main_window, WM_COMMAND, held_button, 0);
}
