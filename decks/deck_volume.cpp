#include "decks/deck_volume.h"

#include "mixer/mixer_device.h"

LRESULT midi_volume_hold(HWND, UINT, WPARAM id, LPARAM) {
  volume_step(kMidiChannel, id == 6008 ? kStepUp : kStepDown);
  return 0;
}

LRESULT wave_volume_hold(HWND, UINT, WPARAM id, LPARAM) {
  volume_step(kWaveChannel, id == 7007 ? kStepUp : kStepDown);
  return 0;
}
