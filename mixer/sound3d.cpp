#include "mixer/sound3d.h"

#include "mixer/mixer_channels.h"
#include "mixer/mixer_panel.h"

int sound3d_present = 1;
int sound3d_on = 0;
const BYTE sound3d_space = 4;
const BYTE sound3d_depth = 4;

LRESULT toggle_sound3d(HWND, UINT, WPARAM, LPARAM) {
  sound3d_on = !sound3d_on;
  write_switch(sound3d_slot, sound3d_on);
  draw_lamps();
  return 0;
}
