#include "cd/cd_volume.h"

#include "mixer/mixer_device.h"

LRESULT cd_volume_hold(HWND, UINT, WPARAM id, LPARAM) {
  volume_step(kCdChannel, id == 8010 ? kStepUp : kStepDown);
  return 0;
}
