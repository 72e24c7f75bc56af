// The end of the program's life: the close sequence, then the destroy sequence.
#include <cstdio>

#include "app/settings_file.h"
#include "app/window_handlers.h"
#include "cd/cd_commands.h"
#include "decks/midi_deck.h"
#include "decks/wave_decks.h"
#include "mixer/mixer_channels.h"
#include "mixer/sound3d.h"
#include "platform/ui/windows.h"
#include "skin/buttons.h"
#include "skin/paint.h"
#include "skin/rack_state.h"
#include "skin/settings_write.h"
#include "skin/seams.h"

namespace {

// The media the close sequence shuts, in this order, before the window goes.
// Each deck adds the step that closes what it holds.
constexpr Step kCloseSteps[] = {
    close_tape1_at_exit,
    close_tape2_at_exit,
    close_midi_at_exit,
    cd_close_device,
};

}  // namespace

LRESULT close_sequence(HWND, UINT, WPARAM, LPARAM) {
  if (rack_timer != 0) KillTimer(main_window, kRackTimerId);
  for (Step close_medium : kCloseSteps) close_medium();
  DestroyWindow(main_window);
  return 0;
}

LRESULT destroy_sequence(HWND, UINT, WPARAM, LPARAM) {
  delete_drawing_resources();
  forget_rack_buttons();
  mixer_shutdown();
  write_module_switch("CDAudioOn", cd_audio_on);
  write_module_switch("WaveOn", wave_on);
  write_module_switch("MidiOn", midi_on);
  char number[8];
  std::snprintf(number, sizeof number, "%d", sound3d_space);
  save_setting("Sound3D", "Space", number);
  std::snprintf(number, sizeof number, "%d", sound3d_depth);
  save_setting("Sound3D", "Depth", number);
  tell_settings_failure_now();
  UnregisterClassA(kClassName, program_instance);
  PostQuitMessage(0);
  return 0;
}
