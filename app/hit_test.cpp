#include "app/hit_test.h"

#include <iterator>

#include "app/rack_state.h"
#include "skin/layout.h"

namespace {

constexpr HitArea kHitAreas[] = {
    {Module::Wave, 7020, 0, 134, 30, 38, 16},   // deck 1 menu label
    {Module::Wave, 7023, 0, 48, 45, 126, 43},   // deck 1 display
    {Module::Wave, 7021, 0, 195, 30, 38, 16},   // deck 2 menu label
    {Module::Wave, 7024, 0, 193, 45, 126, 43},  // deck 2 display
    {Module::Midi, 6001, 0, 299, 22, 35, 25},   // MIDI menu key
    {Module::Midi, 6009, 0, 38, 5, 242, 43},    // MIDI display
    {Module::Mixer, 5012, 0, 55, 24, 35, 76},   // channel columns 0-5
    {Module::Mixer, 5012, 1, 103, 24, 22, 76},
    {Module::Mixer, 5012, 2, 139, 24, 23, 76},
    {Module::Mixer, 5012, 3, 176, 24, 21, 76},
    {Module::Mixer, 5012, 4, 211, 24, 23, 76},
    {Module::Mixer, 5012, 5, 249, 24, 17, 76},
};

bool shown(Module m) {
  switch (m) {
    case Module::Mixer: return true;
    case Module::Midi: return midi_on == 1;
    case Module::Wave: return wave_on == 1;
    case Module::Cd: return cd_audio_on == 1;
  }
  return false;
}

int module_top(Module m) {
  switch (m) {
    case Module::Mixer: return mixer_top;
    case Module::Midi: return midi_top;
    case Module::Wave: return wave_top;
    case Module::Cd: return cd_top;
  }
  return 0;
}

}  // namespace

Hit hit_test(LPARAM mouse_lparam) {
  const int x = LOWORD(static_cast<std::uintptr_t>(mouse_lparam));
  const int y = HIWORD(static_cast<std::uintptr_t>(mouse_lparam));
  for (const HitArea& a : kHitAreas) {
    if (!shown(a.module)) continue;
    const int top = module_top(a.module) + a.top;
    // Strict on all four sides: the border pixels do not count.
    if (a.left < x && x < a.left + a.width && top < y && y < top + a.height) return {a.command, a.lparam};
  }
  return {0, 0};
}
