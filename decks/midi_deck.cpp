#include "decks/midi_deck.h"

#include "decks/deck_model.h"
#include "decks/midi_display.h"
#include "decks/playlist_items.h"
#include "platform/audio/midi/midi_renderer.h"
#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"
#include "skin/layout.h"
#include "skin/mci_error_box.h"
#include "skin/rack_state.h"

namespace {

// Items in a row that did not open while the playlist tried to play on; when
// every item has failed the playlist stops instead of going round for ever.
int failed_in_row = 0;

void post_play() { PostMessageA(main_window, WM_COMMAND, CMD_MIDI_PLAY, 0); }

void play_playlist() {
  DeckPlaylist& playlist = playlist_of(midi_deck);
  const int count = playlist_item_count(DeckKind::Midi);
  if (count == 0) return;
  if (midi_playlist_index >= count) {
    midi_playlist_index = 0;
    if (midi_deck.auto_repeat)
      post_play();
    else
      playlist.running = 0;
    return;
  }
  const auto item = playlist_item(DeckKind::Midi, midi_playlist_index);
  if (!item) return;  // a gap stops the playlist where it is
  if (open_playlist_item(midi_deck, *item, true)) {
    failed_in_row = 0;
    return;
  }
  // Step over the item that did not open; the next one that opens plays.
  if (++failed_in_row < count) {
    ++midi_playlist_index;
    post_play();
    return;
  }
  failed_in_row = 0;
  playlist.running = 0;
  playlist.resume_play = 0;
}

}  // namespace

MCIDEVICEID midi_device() { return midi_deck.device; }

void midi_plain_play() {
  if (!midi_deck.loaded()) return;
  if (MCIERROR error = deck_play(midi_deck)) {
    mci_error_box(error);
    return;
  }
  midi_deck.state = kPlaying;
}

void midi_load_finished() {
  midi_deck.state = kStopped;
  read_length(midi_deck);
  draw_midi_static_text();
  refresh_midi_position();
}

LRESULT midi_play(HWND, UINT, WPARAM, LPARAM) {
  if (!playlist_of(midi_deck).mode || midi_deck.state == kPaused)
    midi_plain_play();
  else
    play_playlist();
  return 0;
}

LRESULT midi_pause(HWND, UINT, WPARAM, LPARAM) {
  if (!midi_deck.loaded()) return 0;
  if (midi_deck.state == kPlaying) {
    deck_command(midi_deck, "pause %s");
    midi_deck.state = kPaused;
  } else {
    post_play();
  }
  return 0;
}

LRESULT midi_stop(HWND, UINT, WPARAM, LPARAM) {
  DeckPlaylist& playlist = playlist_of(midi_deck);
  if (midi_deck.loaded()) {
    stop_and_rewind(midi_deck, true);
    refresh_midi_position();
  }
  // Also on an empty deck: its playlist item may have failed to open.
  if (playlist.mode) {
    midi_playlist_index = 0;
    playlist.running = 0;
    playlist.resume_play = 0;
  }
  return 0;
}

LRESULT midi_close(HWND, UINT, WPARAM, LPARAM) {
  if (!midi_deck.loaded()) return 0;
  close_deck_device(midi_deck);
  repaint_midi_module();
  playlist_of(midi_deck).mode = 0;
  return 0;
}

LRESULT midi_toggle_repeat(HWND, UINT, WPARAM, LPARAM) {
  midi_deck.auto_repeat = !midi_deck.auto_repeat;
  return 0;
}

LRESULT midi_toggle_info(HWND, UINT, WPARAM, LPARAM) {
  midi_deck.info_view = !midi_deck.info_view;
  repaint_midi_module();
  return 0;
}

LRESULT midi_seek_hold(HWND, UINT, WPARAM id, LPARAM) {
  const long step = midi_deck.length_ms / 100;
  const long at = seek_step(midi_deck, id == CMD_MIDI_FORWARD ? step : -step);
  if (at < 0) return 0;
  // Searching shows where it is: the information view comes on.
  if (!midi_deck.info_view) {
    midi_deck.info_view = 1;
    repaint_midi_module();
  }
  draw_midi_position(at);
  return 0;
}

LRESULT midi_menu(HWND, UINT, WPARAM, LPARAM) {
  HMENU menu = LoadMenuA(program_instance, MAKEINTRESOURCEA(MENU_MIDI));
  if (menu == nullptr) return 0;
  HMENU items = GetSubMenu(menu, 0);
  CheckMenuItem(items, IDM_MIDI_REPEAT, MF_BYCOMMAND | (midi_deck.auto_repeat ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(items, IDM_MIDI_INFO, MF_BYCOMMAND | (midi_deck.info_view ? MF_CHECKED : MF_UNCHECKED));
  POINT at = {kMidiDeckFace.menu.left, midi_top + kMidiDeckFace.menu.top + kMidiDeckFace.menu.height};
  ClientToScreen(main_window, &at);
  TrackPopupMenu(items, TPM_RIGHTBUTTON, at.x, at.y, 0, main_window, nullptr);
  DestroyMenu(menu);
  return 0;
}

void midi_tick() {
  if (midi_deck.state == kPlaying) refresh_midi_position();
}

LRESULT midi_end_of_play(HWND, UINT, WPARAM, LPARAM) {
  DeckPlaylist& playlist = playlist_of(midi_deck);
  stop_and_rewind(midi_deck, false);
  refresh_midi_position();
  if (midi_deck.auto_repeat && !playlist.mode) {
    deck_play(midi_deck);
    midi_deck.state = kPlaying;
  }
  if (playlist.mode && playlist.running) {
    ++midi_playlist_index;
    post_play();
  }
  return 0;
}

LRESULT midi_play_failed(HWND, UINT, WPARAM, LPARAM) {
  if (midi_deck.state == kStopped) return 0;
  midi_deck.state = kStopped;
  refresh_midi_position();
  playlist_of(midi_deck).running = 0;
  // A sound device that stopped working is told by its own notice; a SoundFont
  // that could not be loaded is told here.
  if (audio::midi_soundfont_state(nullptr) == audio::SoundFontState::Failed) mci_error_box(MCIERR_NO_SOUNDFONT);
  return 0;
}

void close_midi_at_exit() {
  if (midi_deck.loaded()) midi_close(main_window, WM_COMMAND, IDM_MIDI_CLOSE, 0);
}
