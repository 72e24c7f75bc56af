#include "skin/rack_timer.h"

#include "skin/hold.h"
#include "skin/seams.h"

void CALLBACK rack_timer_tick(HWND, UINT, UINT_PTR, DWORD) {
  if (hold_active == 1) hold_step();
  run_module_steps(rack_seams().tick_steps);
}
