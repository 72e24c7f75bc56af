#include "cd/cd_volume.h"

#include "mixer/mixer.h"
#include "resources/ids/commands.h"

LRESULT cd_volume_hold(HWND, UINT, WPARAM id, LPARAM) {
  volume_step(kCdChannel, id == CMD_CD_VOLUME_UP ? kStepUp : kStepDown);
  return 0;
}
