#include "app/insert_disc.h"
#include "app/main_window.h"
#include "app/preferences.h"
#include "app/rack_menu.h"
#include "app/window_handlers.h"
#include "cd/cd_commands.h"
#include "decks/decks.h"
#include "decks/midi_deck.h"
#include "decks/open_file.h"
#include "decks/recording.h"
#include "decks/recording_control.h"
#include "decks/save_recording.h"
#include "decks/wave_decks.h"
#include "mixer/mixer_panel.h"
#include "mixer/sound3d.h"
#include "playlist/playlist.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"

namespace {

// The system's list of user actions, searched in order. Each module's rows
// stand where its commands belong in the rack's order: the decks' rows before
// the window's, the CD's between the window's and the mixer's.
constexpr CommandRow kCommandTable[] = {
    {CMD_TAPE1_MENU, tape1_menu},
    {CMD_TAPE2_MENU, tape2_menu},
    {IDM_TAPE1_OPEN, open_deck_file},
    {IDM_TAPE2_OPEN, open_deck_file},
    {IDM_TAPE1_CLOSE, close_tape1},
    {IDM_TAPE2_CLOSE, close_tape2},
    {IDM_TAPE1_REPEAT, tape1_toggle_repeat},
    {IDM_TAPE2_REPEAT, tape2_toggle_repeat},
    {IDM_TAPE2_NEW, new_recording},
    {CMD_SWAP_ACTIVE_DECK, swap_active_deck},
    {CMD_WAVE_PLAY, wave_play_pause},
    {CMD_WAVE_STOP, wave_stop},
    {CMD_WAVE_RECORD, record_button},
    {CMD_TAPE1_DISPLAY, tape1_toggle_info},
    {CMD_TAPE2_DISPLAY, tape2_toggle_info},
    {IDM_TAPE1_INFO, tape1_toggle_info},
    {IDM_TAPE2_INFO, tape2_toggle_info},
    {CMD_ACTIVATE_TAPE1, activate_tape1},
    {CMD_ACTIVATE_TAPE2, activate_tape2},
    {IDM_TAPE2_SAVE, save_tape2},
    {CMD_RECORDING_INPUT, recording_input},
    {CMD_ONE_TOUCH_RECORD, one_touch_record},
    {CMD_OFFER_RECOVERED_RECORDING, offer_recovered_recording},
    {IDM_TAPE1_PLAYLIST, open_playlist_editor},
    {IDM_TAPE2_PLAYLIST, open_playlist_editor},
    {CMD_MIDI_MENU, midi_menu},
    {CMD_MIDI_PLAY, midi_play},
    {CMD_MIDI_STOP, midi_stop},
    {CMD_MIDI_PAUSE, midi_pause},
    {IDM_MIDI_OPEN, open_deck_file},
    {IDM_MIDI_CLOSE, midi_close},
    {IDM_MIDI_REPEAT, midi_toggle_repeat},
    {IDM_MIDI_INFO, midi_toggle_info},
    {CMD_MIDI_DISPLAY, midi_toggle_info},
    {IDM_MIDI_PLAYLIST, open_playlist_editor},
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
