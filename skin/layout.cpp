#include "skin/layout.h"

#include "skin/rack_state.h"

namespace {

constexpr int kMixerHeight = face_height(Module::Mixer);

}  // namespace

int mixer_top = 0;
int midi_top = kMixerHeight;
int wave_top = kMixerHeight;
int cd_top = kMixerHeight;
int rack_bottom = kMixerHeight;

int rack_height() {
  int height = 0;
  for (const ModuleFace& face : kModuleFaces)
    if (module_shown(face.module)) height += face.height;
  return height;
}

void compute_module_tops() {
  mixer_top = 0;
  midi_top = kMixerHeight;
  wave_top = midi_on ? midi_top + face_height(Module::Midi) : midi_top;
  cd_top = wave_on ? wave_top + face_height(Module::Wave) : wave_top;
  rack_bottom = rack_height();
}

int module_shown(Module module) {
  switch (module) {
    case Module::Midi: return midi_on == 1;
    case Module::Wave: return wave_on == 1;
    case Module::Cd: return cd_audio_on == 1;
    case Module::Mixer:
    case Module::Window: return 1;
  }
  return 0;
}

int module_top(Module module) {
  switch (module) {
    case Module::Mixer: return mixer_top;
    case Module::Midi: return midi_top;
    case Module::Wave: return wave_top;
    case Module::Cd: return cd_top;
    case Module::Window: return 0;
  }
  return 0;
}
