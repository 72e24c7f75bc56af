#include "skin/layout.h"

#include "app/rack_state.h"

int mixer_top = 0;
int midi_top = kMixerHeight;
int wave_top = kMixerHeight;
int cd_top = kMixerHeight;
int rack_bottom = kMixerHeight;

int rack_height() {
  return kMixerHeight + (midi_on ? kMidiHeight : 0) + (wave_on ? kWaveHeight : 0) + (cd_audio_on ? kCdHeight : 0);
}

void compute_module_tops() {
  mixer_top = 0;
  midi_top = kMixerHeight;
  wave_top = midi_on ? kMixerHeight + kMidiHeight : kMixerHeight;
  cd_top = wave_on ? wave_top + kWaveHeight : wave_top;
  rack_bottom = rack_height();
}
