// Every place where the rack core calls into the modules, as tables in the
// rack's order. A module joins the rack by adding its rows here.
#include "app/rack_wiring.h"

#include <array>

#include "app/main_window.h"
#include "cd/cd_commands.h"
#include "cd/cd_deck.h"
#include "cd/cd_display.h"
#include "cd/cd_volume.h"
#include "decks/deck_model.h"
#include "decks/deck_volume.h"
#include "decks/decks.h"
#include "decks/midi_deck.h"
#include "decks/record_face.h"
#include "decks/wave_decks.h"
#include "decks/wave_display.h"
#include "mixer/mixer_panel.h"
#include "mixer/sound3d.h"
#include "resources/ids/commands.h"
#include "skin/seams.h"

namespace {

// After every paint, each shown module redraws its live parts.
constexpr ModuleStep kLiveRedraws[] = {
    {Module::Mixer, paint_mixer_panel},
    {Module::Midi, repaint_midi_module},
    {Module::Wave, repaint_wave_module},
    {Module::Cd, refresh_cd_panel},
};

// Every rack tick, after the hold step.
constexpr ModuleStep kTickSteps[] = {
    {Module::Midi, midi_tick},
    {Module::Wave, wave_tick},
    {Module::Cd, cd_tick},
};

// What a held button does on every tick.
constexpr CommandRow kHoldSteps[] = {
    {CMD_BALANCE_LEFT, hold_balance_left},      {CMD_BALANCE_RIGHT, hold_balance_right},
    {CMD_MIDI_REWIND, midi_seek_hold},          {CMD_MIDI_FORWARD, midi_seek_hold},
    {CMD_MIDI_VOLUME_DOWN, midi_volume_hold},   {CMD_MIDI_VOLUME_UP, midi_volume_hold},
    {CMD_WAVE_REWIND, wave_seek_hold},          {CMD_WAVE_FORWARD, wave_seek_hold},
    {CMD_WAVE_VOLUME_DOWN, wave_volume_hold},   {CMD_WAVE_VOLUME_UP, wave_volume_hold},
    {CMD_CD_REWIND, cd_scan_back},          {CMD_CD_FORWARD, cd_scan_forward},
    {CMD_CD_VOLUME_DOWN, cd_volume_hold},       {CMD_CD_VOLUME_UP, cd_volume_hold},
};

// What the release of a short press on a playlist-step button does.
constexpr std::array<CommandRow, 0> kShortClicks = {};

// After every button drawing: the Record button shows whether deck 2 records.
constexpr ModuleStep kAfterButtonDrawn[] = {
    {Module::Wave, draw_record_button_face},
};

// WM_CREATE: every deck starts empty.
constexpr Step kOnCreate[] = {
    reset_decks,
    cd_empty_record,
};

int mixer_has_sound3d() { return sound3d_present; }

}  // namespace

void install_rack_wiring() {
  install_rack_seams({
      .commands = command_table(),
      .live_redraws = kLiveRedraws,
      .tick_steps = kTickSteps,
      .hold_steps = kHoldSteps,
      .short_clicks = kShortClicks,
      .after_button_drawn = kAfterButtonDrawn,
      .on_create = kOnCreate,
      .sound3d_present = mixer_has_sound3d,
  });
}
