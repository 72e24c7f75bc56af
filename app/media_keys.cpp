#include "app/media_keys.h"

#include "app/player_sources.h"
#include "mixer/mixer.h"
#include "platform/desktop/desktop_messages.h"
#include "platform/ui/windows.h"
#include "skin/rack_state.h"
#include "skin/seams.h"

namespace {

const PlayerSource* last_played = nullptr;

// A command as its button gives it: a playlist step button's short click, else WM_COMMAND.
void run(WORD id) {
  if (id == 0) return;
  for (const CommandRow& row : rack_seams().short_clicks)
    if (row.id == id) {
      row.handler(main_window, WM_COMMAND, id, 0);
      return;
    }
  SendMessageA(main_window, WM_COMMAND, id, 0);
}

void note_playing_source() {
  for (const PlayerSource& source : player_sources())
    if (source.present() && source.state() == SourceState::Playing) last_played = &source;
}

struct KeyRow {
  WORD app_command;
  void (*act)(const PlayerSource& source, SourceState state);
};

void play(const PlayerSource& s, SourceState state) {
  if (state != SourceState::Playing) run(s.play);
}
void pause(const PlayerSource& s, SourceState state) {
  if (state == SourceState::Playing) run(s.pause);
}
void play_pause(const PlayerSource& s, SourceState state) {
  if (state == SourceState::Playing) run(s.pause);
  else run(s.play);
}
void stop(const PlayerSource& s, SourceState) { run(s.stop); }
void next(const PlayerSource& s, SourceState) {
  if (s.can_step()) run(s.next);
}
void previous(const PlayerSource& s, SourceState) {
  if (s.can_step()) run(s.previous);
}

constexpr KeyRow kKeys[] = {
    {APPCOMMAND_MEDIA_PLAY, play},
    {APPCOMMAND_MEDIA_PAUSE, pause},
    {APPCOMMAND_MEDIA_PLAY_PAUSE, play_pause},
    {APPCOMMAND_MEDIA_STOP, stop},
    {APPCOMMAND_MEDIA_NEXTTRACK, next},
    {APPCOMMAND_MEDIA_PREVIOUSTRACK, previous},
};

}  // namespace

const PlayerSource* current_source() {
  note_playing_source();
  if (last_played != nullptr && last_played->present()) return last_played;
  for (const PlayerSource& source : player_sources())
    if (source.present()) return &source;
  return nullptr;
}

void forget_last_source() { last_played = nullptr; }

LRESULT on_app_command(HWND, UINT, WPARAM, LPARAM lparam) {
  const WORD command = GET_APPCOMMAND_LPARAM(lparam);
  const PlayerSource* source = current_source();
  for (const KeyRow& key : kKeys) {
    if (key.app_command != command) continue;
    if (source != nullptr) {
      const SourceState state = source->state();
      run(source->activate);
      key.act(*source, state);
    }
    return TRUE;  // handled, also when there is nothing to play
  }
  return FALSE;
}

LRESULT on_desktop_volume(HWND, UINT, WPARAM wparam, LPARAM) {
  set_master_volume(static_cast<double>(wparam) / kDesktopVolumeFull);
  publish_player_state();  // the bus sees the volume the mixer could take
  return 0;
}

void publish_player_state() {
  MprisState out;
  out.volume = master_volume();
  if (const PlayerSource* source = current_source()) {
    const SourceState state = source->state();
    out.status = state == SourceState::Playing  ? MprisState::Status::Playing
                 : state == SourceState::Paused ? MprisState::Status::Paused
                                                : MprisState::Status::Stopped;
    source->describe(out);
    out.can_play = true;
    out.can_pause = true;
    out.can_go_next = out.can_go_previous = source->can_step();
  }
  mpris_publish(out);
}
