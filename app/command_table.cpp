#include <iterator>

#include "app/dispatch.h"
#include "app/window_handlers.h"
#include "mixer/mixer_panel.h"
#include "mixer/sound3d.h"
#include "platform/ui/windows.h"

namespace {

// The system's list of user actions, searched in order. Each subsystem's rows
// stand where its commands belong in the rack's order.
constexpr CommandRow kCommandTable[] = {
    {4999, close_sequence},  // power button
    {4998, on_minimise},     // minimise button
    {5003, toggle_cd_module},
    {5001, toggle_midi_module},
    {5002, toggle_wave_module},
    {5004, toggle_mute},
    {5009, select_previous_channel},
    {5010, select_next_channel},
    {5012, select_channel},
    {5005, volume_up},
    {5006, volume_down},
    {5000, toggle_sound3d},
};

}  // namespace

Handler find_command(WORD id) {
  for (const CommandRow& row : kCommandTable)
    if (row.id == id) return row.handler;
  return nullptr;
}

LRESULT command_dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Only the low 16 bits arrive: a click, a double click, an accelerator and a
  // menu item with the same identifier all run the same handler.
  const WORD id = LOWORD(wparam);
  if (Handler h = find_command(id)) return h(window, WM_COMMAND, id, lparam);
  return DefWindowProcA(window, message, wparam, lparam);
}
