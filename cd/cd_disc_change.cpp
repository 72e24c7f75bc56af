// A disc put in from outside the deck: the device under the name "cdaudio" is
// another one now, open or not.
#include "cd/cd.h"
#include "cd/cd_deck.h"

void cd_disc_changed() {
  forget_disc();
  cd.paused = 0;
  // Whatever the deck opened is gone; the name is open again when the new drive or image took it.
  cd.device_id = mciGetDeviceIDA("cdaudio");
  cd.device_opened = cd.device_id != 0 ? 1 : 0;
  load_disc();
}
