#include "cd/cd_deck.h"

#include <algorithm>
#include <cstdio>

#include "cd/cd_commands.h"
#include "cd/cd_display.h"
#include "cd/cd_titles.h"

CdDeck cd;

namespace {

MCI_STATUS_PARMS status_parms;  // shared by every status query: a failed one keeps the last answer

DWORD status(DWORD item, DWORD flags, DWORD track = 0) {
  status_parms.dwItem = item;
  status_parms.dwTrack = track;
  cd.last_result = mciSendCommandA(cd.device_id, MCI_STATUS, MCI_STATUS_ITEM | flags,
                                   reinterpret_cast<DWORD_PTR>(&status_parms));
  return static_cast<DWORD>(status_parms.dwReturn);
}

Position position_of(DWORD tmsf) { return {MCI_TMSF_TRACK(tmsf), MCI_TMSF_MINUTE(tmsf), MCI_TMSF_SECOND(tmsf)}; }

}  // namespace

int list_length(const TrackList& list) {
  int n = 0;
  while (n < static_cast<int>(list.size()) && list[n] != kEndOfList) ++n;
  return n;
}

int current_entry() { return (*cd.current)[cd.index]; }

MCIERROR cd_send(const char* command, HWND notify) {
  cd.last_result = mciSendStringA(command, nullptr, 0, notify);
  return cd.last_result;
}

TrackTime track_length(int track) {
  const DWORD msf = status(MCI_STATUS_LENGTH, MCI_TRACK, static_cast<DWORD>(track));
  return {MCI_MSF_MINUTE(msf), MCI_MSF_SECOND(msf)};
}

Position current_position() {
  if (!cd.ready) return {};
  const DWORD flags = cd.start_query ? MCI_STATUS_START : 0;
  cd.start_query = 0;
  return position_of(status(MCI_STATUS_POSITION, flags));
}

Position playing_position() { return position_of(status(MCI_STATUS_POSITION, 0)); }

DWORD device_mode() { return status(MCI_STATUS_MODE, 0); }

std::string disc_identity(int n, const TrackTime* lengths) {
  int minutes = 0, seconds = 0;
  for (int i = 0; i < n; ++i) {
    minutes += lengths[i].minutes;
    seconds += lengths[i].seconds;
  }
  const TrackTime first = n > 0 ? lengths[0] : TrackTime{};
  const TrackTime last = n > 0 ? lengths[n - 1] : TrackTime{};
  char text[64];
  std::snprintf(text, sizeof text, "%02d-%02d%02d-%02d%02d-%02d%02d", n, minutes + seconds / 60, seconds % 60,
                first.minutes, first.seconds, last.minutes, last.seconds);
  return text;
}

void cd_empty_record() {
  cancel_failed_end();
  cd = CdDeck{};
  // The copied pointer still names the temporary's list: point it at the record's own.
  cd.current = &cd.normal;
  clear_title_store();
}

void load_disc() {
  if (!cd.device_opened) {
    if (cd_send("open cdaudio") != 0) {
      show_dashes();
      cd.ready = 0;
      return;
    }
    cd.device_opened = 1;
    cd.device_id = mciGetDeviceIDA("cdaudio");
  }
  if (device_mode() == MCI_MODE_OPEN) {
    cd.start_query = 1;
    show_dashes();
    return;
  }
  if (status(MCI_STATUS_MEDIA_PRESENT, 0) == 0) {
    show_dashes();
    cd.ready = 0;
    return;
  }
  cd.ready = 1;
  cd.door_opened = 0;
  cd.device_id = mciGetDeviceIDA("cdaudio");
  MCI_SET_PARMS set{};
  set.dwTimeFormat = MCI_FORMAT_TMSF;
  cd.last_result = mciSendCommandA(cd.device_id, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set));
  // A drive with no disc may count 255 tracks; a list holds 99 at most.
  cd.track_count = static_cast<int>(std::min<DWORD>(status(MCI_STATUS_NUMBER_OF_TRACKS, 0), 99));

  TrackTime lengths[99];
  for (int t = 1; t <= cd.track_count; ++t) lengths[t - 1] = track_length(t);
  cd.identity = disc_identity(cd.track_count, lengths);
  cd.titled = read_disc_section(cd.track_count, &cd.program) ? 1 : 0;

  for (int t = 1; t <= cd.track_count; ++t) cd.normal[t - 1] = t;
  cd.normal[cd.track_count] = kEndOfList;
  cd.random[0] = kEndOfList;
  cd.play_mode = kPlayNormal;
  cd.repeat_mode = kRepeatOff;
  cd.current = &cd.normal;
  cd.index = 0;
  cd.last_result = mciSendCommandA(cd.device_id, MCI_SEEK, MCI_SEEK_TO_START, 0);

  show_position();
  draw_mode_indicator();
  draw_repeat_indicator();
  draw_grid_and_title();
}

void forget_disc() {
  cancel_failed_end();
  cd.ready = 0;
  cd.track_count = 0;
  cd.play_mode = kPlayNormal;
  cd.titled = 0;
  cd.door_opened = 1;
  cd.normal[0] = cd.random[0] = cd.program[0] = kEndOfList;
  forget_titles();
  draw_state_icon();
  draw_mode_indicator();
  draw_grid_and_title();
}
