// Play, stop, pause, eject, previous and next, and the scan steps of a held key.
#include <cstdio>
#include <string>

#include "cd/cd_commands.h"
#include "cd/cd_deck.h"
#include "cd/cd_display.h"
#include "platform/mci/cd_refusal.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"

namespace {

void send_format(HWND notify, const char* format, auto... args) {
  char command[96];
  std::snprintf(command, sizeof command, format, args...);
  cd_send(command, notify);
}

void seek_to_track(int track) { send_format(nullptr, "seek cdaudio to %d", track); }

// Stop steps 2-4: stopped at the start of the current list's first entry.
void stop_at_first_entry() {
  cd.paused = 0;
  cd_send("stop cdaudio");
  draw_state_icon();
  seek_to_track((*cd.current)[0]);
  cd.index = 0;
  show_position();
  draw_grid_and_title();
}

// Previous and Next, once the index is chosen: the entry plays from its start
// if the device played, else the deck stands at its start.
void go_to_entry() {
  const int entry = current_entry();
  const TrackTime length = track_length(entry);
  if (device_mode() == MCI_MODE_PLAY)
    send_format(main_window, "play cdaudio from %d:0:0 to %d:%d:%d notify", entry, entry, length.minutes,
                length.seconds);
  else
    seek_to_track(entry);
  show_position();
  draw_state_icon();
  draw_grid_and_title();
}

bool scanning_possible() { return cd.ready && device_mode() == MCI_MODE_PLAY; }

void play_within_track(const Position& from, const TrackTime& end) {
  send_format(main_window, "play cdaudio from %d:%d:%d to %d:%d:%d notify", from.track, from.minutes, from.seconds,
              from.track, end.minutes, end.seconds);
  show_position();
}

}  // namespace

LRESULT cd_play(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  if (!cd.ready) {
    // A drive or image the device refused is named with its fault, once per fault.
    std::string refusal;
    const bool refused = mci_cd_take_refusal(&refusal);
    MessageBoxA(main_window, refused ? refusal.c_str() : "Audio CD not ready or not present.", nullptr, MB_OK);
    return 0;
  }
  if (device_mode() == MCI_MODE_PLAY) return 0;
  const int entry = current_entry();
  const TrackTime length = track_length(entry);
  char command[96];
  if (cd.paused) {
    cd.paused = 0;
    std::snprintf(command, sizeof command, "play cdaudio to %d:%d:%d notify", entry, length.minutes, length.seconds);
  } else {
    std::snprintf(command, sizeof command, "play cdaudio from %d:0:0 to %d:%d:%d notify", entry, entry,
                  length.minutes, length.seconds);
  }
  if (cd_send(command, main_window) != 0) {
    // A track that cannot play as audio ends like a finished one, paced by its own timer.
    cd.play_failed = 1;
    arm_failed_end();
  }
  draw_state_icon();
  draw_grid_and_title();
  return 0;
}

LRESULT cd_stop(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  if (!cd.ready) return 0;
  stop_at_first_entry();
  return 0;
}

LRESULT cd_pause(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  if (!cd.ready) return 0;
  if (device_mode() == MCI_MODE_PLAY) {
    cd_send("pause cdaudio");
    cd.paused = 1;
    draw_state_icon();
    draw_grid_and_title();
  } else if (cd.paused) {
    PostMessageA(main_window, WM_COMMAND, CMD_CD_PLAY, 0);
  }
  return 0;
}

LRESULT cd_eject(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  cd.paused = 0;
  if (cd.ready) stop_at_first_entry();
  MCI_GETDEVCAPS_PARMS caps{};
  caps.dwItem = MCI_GETDEVCAPS_CAN_EJECT;
  cd.last_result = mciSendCommandA(cd.device_id, MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM, reinterpret_cast<DWORD_PTR>(&caps));
  if (caps.dwReturn == 0) {
    MessageBoxA(main_window, "The CD audio device can not eject the media.", nullptr, MB_OK);
    return 0;
  }
  if (device_mode() == MCI_MODE_OPEN && cd.door_opened) {
    cd.door_opened = 0;
    cd_send("set cdaudio door closed");
    return 0;
  }
  cd_send("set cdaudio door open");
  forget_disc();
  return 0;
}

LRESULT cd_previous(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  if (!cd.ready) return 0;
  cd.paused = 0;
  const Position p = current_position();
  if (p.minutes == 0 && p.seconds <= 2) {
    if (cd.index > 0)
      --cd.index;
    else
      cd.index = list_length(*cd.current) > 0 ? list_length(*cd.current) - 1 : 0;
  }
  go_to_entry();
  return 0;
}

LRESULT cd_next(HWND, UINT, WPARAM, LPARAM) {
  cancel_failed_end();
  if (!cd.ready) return 0;
  cd.paused = 0;
  ++cd.index;
  if ((*cd.current)[cd.index] == kEndOfList) cd.index = 0;
  go_to_entry();
  return 0;
}

LRESULT cd_scan_forward(HWND, UINT, WPARAM, LPARAM) {
  if (!scanning_possible()) return 0;
  Position p = playing_position();
  const TrackTime end = track_length(current_entry());
  p.seconds += 5;
  if (p.seconds >= 60) {
    p.seconds -= 60;
    ++p.minutes;
  }
  if (p.minutes > end.minutes || (p.minutes == end.minutes && p.seconds >= end.seconds)) {
    p.minutes = end.minutes;
    p.seconds = end.seconds;
  }
  play_within_track(p, end);
  return 0;
}

LRESULT cd_scan_back(HWND, UINT, WPARAM, LPARAM) {
  if (!scanning_possible()) return 0;
  Position p = playing_position();
  if (p.minutes == 0 && p.seconds < 5) {
    p.seconds = 0;
  } else {
    p.seconds -= 5;
    if (p.seconds < 0) {
      p.seconds += 60;
      --p.minutes;
    }
  }
  play_within_track(p, track_length(current_entry()));
  return 0;
}
