#include "app/hit_test.h"

#include "resources/geometry.h"
#include "resources/ids/commands.h"
#include "skin/layout.h"

namespace {

struct HitArea {
  Module module;
  WORD command;
  LPARAM lparam;
  Rect area;  // top relative to the module's top
};

constexpr HitArea kHitAreas[] = {
    {Module::Wave, CMD_TAPE1_MENU, 0, kWaveDeckFaces[0].menu},
    {Module::Wave, CMD_TAPE1_DISPLAY, 0, kWaveDeckFaces[0].lcd},
    {Module::Wave, CMD_TAPE2_MENU, 0, kWaveDeckFaces[1].menu},
    {Module::Wave, CMD_TAPE2_DISPLAY, 0, kWaveDeckFaces[1].lcd},
    {Module::Midi, CMD_MIDI_MENU, 0, kMidiDeckFace.menu},
    {Module::Midi, CMD_MIDI_DISPLAY, 0, kMidiDeckFace.display},
    {Module::Mixer, CMD_SELECT_CHANNEL, 0, kChannelColumns[0]},
    {Module::Mixer, CMD_SELECT_CHANNEL, 1, kChannelColumns[1]},
    {Module::Mixer, CMD_SELECT_CHANNEL, 2, kChannelColumns[2]},
    {Module::Mixer, CMD_SELECT_CHANNEL, 3, kChannelColumns[3]},
    {Module::Mixer, CMD_SELECT_CHANNEL, 4, kChannelColumns[4]},
    {Module::Mixer, CMD_SELECT_CHANNEL, 5, kChannelColumns[5]},
};

}  // namespace

Hit hit_test(LPARAM mouse_lparam) {
  const int x = LOWORD(static_cast<std::uintptr_t>(mouse_lparam));
  const int y = HIWORD(static_cast<std::uintptr_t>(mouse_lparam));
  for (const HitArea& hit : kHitAreas) {
    if (!module_shown(hit.module)) continue;
    const Rect& a = hit.area;
    const int top = module_top(hit.module) + a.top;
    // Strict on all four sides: the border pixels do not count.
    if (a.left < x && x < a.left + a.width && top < y && y < top + a.height) return {hit.command, hit.lparam};
  }
  return {0, 0};
}
