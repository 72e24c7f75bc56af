#include "decks/deck_volume.h"

#include "mixer/mixer.h"
#include "resources/ids/commands.h"

LRESULT midi_volume_hold(HWND, UINT, WPARAM id, LPARAM) {
  volume_step(kMidiChannel, id == CMD_MIDI_VOLUME_UP ? kStepUp : kStepDown);
  return 0;
}

LRESULT wave_volume_hold(HWND, UINT, WPARAM id, LPARAM) {
  volume_step(kWaveChannel, id == CMD_WAVE_VOLUME_UP ? kStepUp : kStepDown);
  return 0;
}
