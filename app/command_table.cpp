#include "app/insert_disc.h"
#include "app/main_window.h"
#include "app/preferences.h"
#include "app/rack_menu.h"
#include "app/window_handlers.h"
#include "cd/cd_commands.h"
#include "mixer/mixer_panel.h"
#include "mixer/sound3d.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"

namespace {

// The system's list of user actions, searched in order. Each module's rows
// stand where its commands belong in the rack's order: the decks' rows before
// the window's, the CD's between the window's and the mixer's.
constexpr CommandRow kCommandTable[] = {
    {CMD_POWER, close_sequence},
    {CMD_MINIMISE, on_minimise},
    {CMD_CD_PLAY, cd_play},
    {CMD_CD_STOP, cd_stop},
    {CMD_CD_EJECT, cd_eject},
    {CMD_CD_PAUSE, cd_pause},
    {CMD_CD_PREVIOUS, cd_previous},
    {CMD_CD_NEXT, cd_next},
    {CMD_CD_PROGRAM_EDIT, cd_edit},
    {CMD_CD_PROGRAM_PLAY, cd_program},
    {CMD_CD_SHUFFLE, cd_random},
    {CMD_CD_REPEAT, cd_repeat},
    {CMD_CD_MODULE, toggle_cd_module},
    {CMD_MIDI_MODULE, toggle_midi_module},
    {CMD_WAVE_MODULE, toggle_wave_module},
    {CMD_MUTE, toggle_mute},
    {CMD_PREVIOUS_CHANNEL, select_previous_channel},
    {CMD_NEXT_CHANNEL, select_next_channel},
    {CMD_SELECT_CHANNEL, select_channel},
    {CMD_VOLUME_UP, volume_up},
    {CMD_VOLUME_DOWN, volume_down},
    {CMD_SOUND3D, toggle_sound3d},
    // The rack's own menu (right-click on the bare face); its Quit is the power button's 4999.
    {IDM_PREFERENCES, show_preferences},
    {IDM_INSERT_DISC, insert_disc_command},
    {IDM_ABOUT, show_about},
};

}  // namespace

std::span<const CommandRow> command_table() { return kCommandTable; }

LRESULT command_dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Only the low 16 bits arrive: a click, a double click, an accelerator and a
  // menu item with the same identifier all run the same handler.
  const WORD id = LOWORD(wparam);
  if (Handler h = find_command(id)) return h(window, WM_COMMAND, id, lparam);
  return DefWindowProcA(window, message, wparam, lparam);
}
