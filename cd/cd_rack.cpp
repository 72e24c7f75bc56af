// What the rack runs for the CD deck: the tick, start-up's load, the close
// step, the failed entry's paced end, and what other modules may read.
#include "cd/cd.h"
#include "cd/cd_commands.h"
#include "cd/cd_deck.h"
#include "cd/cd_display.h"
#include "cd/cd_titles.h"
#include "platform/ui/windows.h"
#include "resources/ids/timers.h"
#include "skin/rack_state.h"

namespace {

constexpr UINT_PTR kFailedEndTimer = TIMER_CD_FAILED_END;
UINT_PTR failed_end_timer = 0;

void CALLBACK end_failed_entry(HWND, UINT, UINT_PTR, DWORD) {
  cancel_failed_end();
  cd.play_failed = 1;  // cancel cleared it; this end is the failed play's
  cd_end_of_entry(main_window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, cd.device_id);
}

}  // namespace

void arm_failed_end() {
  if (main_window == nullptr) return;
  failed_end_timer = SetTimer(main_window, kFailedEndTimer, kFailedEndDelayMs, end_failed_entry);
}

void cancel_failed_end() {
  if (failed_end_timer != 0) {
    KillTimer(main_window, kFailedEndTimer);
    failed_end_timer = 0;
  }
  cd.play_failed = 0;
}

MCIDEVICEID cd_device() { return cd.device_opened ? cd.device_id : 0; }

void cd_tick() {
  if (!cd.ready) {
    load_disc();
    if (!cd.ready) return;
  }
  const DWORD mode = device_mode();
  if (mode == MCI_MODE_OPEN) {
    forget_disc();
  } else if (mode == MCI_MODE_PLAY) {
    const Position p = playing_position();
    show_digits(p.track, p.minutes, p.seconds);
  } else if (state_icon_shows_playing()) {
    // The device stopped without a successful end (a failed play): the deck stands.
    draw_state_icon();
  }
}

void cd_startup_load() { load_disc(); }

void cd_close_device() {
  cancel_failed_end();
  if (cd.ready) cd_send("stop cdaudio");
  cd_send("close cdaudio");
}

int cd_ready() { return cd.ready; }
int cd_current_track() { return cd.ready ? current_entry() : 0; }
std::string cd_disc_title() { return shown_titles().disc; }
std::string cd_track_title(int track) { return shown_track_title(track); }
