#include "decks/wave_decks.h"

#include "decks/deck_model.h"
#include "decks/playlist_items.h"
#include "decks/wave_display.h"
#include "platform/ui/windows.h"
#include "resources/geometry.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"
#include "skin/layout.h"
#include "skin/rack_state.h"

namespace {

// Items in a row that did not open while the playlist tried to play on.
int failed_in_row = 0;

int other(int number) { return number == 1 ? 2 : 1; }

bool deck2_records_or_waits() { return wave_deck(2).state == kRecording || new_recording_pending; }

// Stop, Rewind and Forward act on the active deck, or on deck 1 while deck 2
// records or a new recording waits on it.
Deck& transport_target() { return deck2_records_or_waits() ? wave_deck(1) : active_deck(); }

void post_play() { PostMessageA(main_window, WM_COMMAND, CMD_WAVE_PLAY, 0); }

void play_playlist() {
  Deck& deck = active_deck();
  DeckPlaylist& playlist = playlist_of(deck);
  const int count = playlist_item_count(DeckKind::Wave);
  if (count == 0) return;
  if (wave_playlist_index >= count) {
    wave_playlist_index = 0;
    if (deck.auto_repeat)
      post_play();
    else
      playlist.running = 0;
    return;
  }
  const auto item = playlist_item(DeckKind::Wave, wave_playlist_index);
  if (!item) return;  // a gap stops the playlist where it is
  if (open_playlist_item(deck, *item, true)) {
    failed_in_row = 0;
    return;
  }
  // Step over the item that did not open; the next one that opens plays.
  if (++failed_in_row < count) {
    ++wave_playlist_index;
    post_play();
    return;
  }
  failed_in_row = 0;
  playlist.running = 0;
  playlist.resume_play = 0;
}

void show_menu(int number) {
  HMENU menu = LoadMenuA(program_instance, MAKEINTRESOURCEA(MENU_TAPES));
  if (menu == nullptr) return;
  const Deck& deck = wave_deck(number);
  HMENU items = GetSubMenu(menu, number == 1 ? 0 : 1);
  CheckMenuItem(items, number == 1 ? IDM_TAPE1_REPEAT : IDM_TAPE2_REPEAT,
                MF_BYCOMMAND | (deck.auto_repeat ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(items, number == 1 ? IDM_TAPE1_INFO : IDM_TAPE2_INFO,
                MF_BYCOMMAND | (deck.info_view ? MF_CHECKED : MF_UNCHECKED));
  // Deck 1's menu opens leftwards from its label's right end, deck 2's rightwards from its left end.
  const Rect& label = kWaveDeckFaces[number - 1].menu;
  POINT at = {number == 1 ? label.left + label.width : label.left, wave_top + label.top + label.height};
  ClientToScreen(main_window, &at);
  TrackPopupMenu(items, number == 1 ? TPM_RIGHTALIGN | TPM_RIGHTBUTTON : TPM_RIGHTBUTTON, at.x, at.y, 0, main_window,
                 nullptr);
  DestroyMenu(menu);
}

void toggle_info(int number) {
  Deck& deck = wave_deck(number);
  deck.info_view = !deck.info_view;
  blank_wave_lcd(number);
  draw_wave_lcd(number);
  refresh_wave_position(number);
}

void end_of_play(int number) {
  Deck& deck = wave_deck(number);
  DeckPlaylist& playlist = playlist_of(deck);
  stop_and_rewind(deck, false);
  refresh_wave_position(number);
  if (deck.auto_repeat && !playlist.mode) {
    deck_play(deck);
    deck.state = kPlaying;
  }
  // Only the active deck's end moves the wave playlist on.
  if (number == active_wave_deck && playlist.mode && playlist.running) {
    ++wave_playlist_index;
    post_play();
  }
}

void play_failed(int number) {
  Deck& deck = wave_deck(number);
  if (deck.state != kPlaying && deck.state != kPaused) return;
  deck.state = kStopped;
  refresh_wave_position(number);
  playlist_of(deck).running = 0;
}

}  // namespace

MCIDEVICEID tape1_device() { return wave_deck(1).device; }
MCIDEVICEID tape2_device() { return wave_deck(2).device; }

void make_active(int number) {
  active_wave_deck = number == 2 ? 2 : 1;
  draw_deck_lamps();
}

void wave_load_finished(int number) {
  read_wave_information(number);
  draw_wave_lcd(number);
  refresh_wave_position(number);
  make_active(number);
}

void wave_play_pause_toggle() {
  // One deck plays at a time: the other stops where it is.
  Deck& silenced = wave_deck(other(active_wave_deck));
  if (silenced.state == kPlaying || silenced.state == kPaused) {
    deck_command(silenced, "stop %s");
    silenced.state = kStopped;
    playlist_of(silenced).running = 0;
  }
  int target = active_wave_deck;
  if (deck2_records_or_waits()) {
    target = 1;
    make_active(1);
  }
  Deck& deck = wave_deck(target);
  if (!deck.loaded()) return;
  // A refused pause or play says why and leaves the deck as it was.
  const bool pausing = deck.state == kPlaying;
  if (MCIERROR error = pausing ? deck_command(deck, "pause %s") : deck_play(deck)) {
    plain_mci_error_box(error);
    return;
  }
  deck.state = pausing ? kPaused : kPlaying;
}

LRESULT wave_play_pause(HWND, UINT, WPARAM, LPARAM) {
  const Deck& deck = active_deck();
  // Deck 2 recording, or waiting to, is never replaced by a playlist item.
  const bool playlist_deck = playlist_of(deck).mode && !(deck.number == 2 && deck2_records_or_waits());
  if (playlist_deck && deck.state != kPlaying && deck.state != kPaused)
    play_playlist();
  else
    wave_play_pause_toggle();
  return 0;
}

LRESULT wave_stop(HWND, UINT, WPARAM, LPARAM) {
  Deck& deck = transport_target();
  if (deck.loaded()) {
    stop_and_rewind(deck, true);
    refresh_wave_position(deck.number);
  }
  // Also on an empty deck: its playlist item may have failed to open.
  DeckPlaylist& playlist = playlist_of(active_deck());
  if (playlist.mode) {
    wave_playlist_index = 0;
    playlist.running = 0;
    playlist.resume_play = 0;
  }
  return 0;
}

LRESULT wave_seek_hold(HWND, UINT, WPARAM id, LPARAM) {
  Deck& deck = transport_target();
  const long step = deck.length_ms / 50;
  if (seek_step(deck, id == CMD_WAVE_FORWARD ? step : -step) >= 0) refresh_wave_position(deck.number);
  return 0;
}

void close_wave_deck(int number) {
  Deck& deck = wave_deck(number);
  if (!deck.loaded()) return;
  close_deck_device(deck);
  blank_wave_deck(number);
  playlist_of(deck).mode = 0;
}

LRESULT close_tape1(HWND, UINT, WPARAM, LPARAM) {
  close_wave_deck(1);
  return 0;
}

LRESULT close_tape2(HWND, UINT, WPARAM, LPARAM) {
  end_pending_recording();
  close_wave_deck(2);
  return 0;
}

LRESULT tape1_menu(HWND, UINT, WPARAM, LPARAM) {
  show_menu(1);
  return 0;
}

LRESULT tape2_menu(HWND, UINT, WPARAM, LPARAM) {
  show_menu(2);
  return 0;
}

LRESULT tape1_toggle_repeat(HWND, UINT, WPARAM, LPARAM) {
  wave_deck(1).auto_repeat = !wave_deck(1).auto_repeat;
  return 0;
}

LRESULT tape2_toggle_repeat(HWND, UINT, WPARAM, LPARAM) {
  wave_deck(2).auto_repeat = !wave_deck(2).auto_repeat;
  return 0;
}

LRESULT tape1_toggle_info(HWND, UINT, WPARAM, LPARAM) {
  toggle_info(1);
  return 0;
}

LRESULT tape2_toggle_info(HWND, UINT, WPARAM, LPARAM) {
  toggle_info(2);
  return 0;
}

LRESULT swap_active_deck(HWND, UINT, WPARAM, LPARAM) {
  make_active(other(active_wave_deck));
  return 0;
}

LRESULT activate_tape1(HWND, UINT, WPARAM, LPARAM) {
  make_active(1);
  return 0;
}

LRESULT activate_tape2(HWND, UINT, WPARAM, LPARAM) {
  make_active(2);
  return 0;
}

void wave_tick() {
  if (wave_deck(1).state == kPlaying) refresh_wave_position(1);
  const DeckState second = wave_deck(2).state;
  if (second == kPlaying || second == kRecording) refresh_wave_position(2);
}

LRESULT tape1_end_of_play(HWND, UINT, WPARAM, LPARAM) {
  end_of_play(1);
  return 0;
}

LRESULT tape2_end_of_play(HWND, UINT, WPARAM, LPARAM) {
  end_of_play(2);
  return 0;
}

LRESULT tape1_play_failed(HWND, UINT, WPARAM, LPARAM) {
  play_failed(1);
  return 0;
}

LRESULT tape2_play_failed(HWND, UINT, WPARAM, LPARAM) {
  play_failed(2);
  return 0;
}

void close_tape1_at_exit() {
  if (wave_deck(1).loaded()) close_tape1(main_window, WM_COMMAND, IDM_TAPE1_CLOSE, 0);
}

void close_tape2_at_exit() {
  if (wave_deck(2).loaded()) close_tape2(main_window, WM_COMMAND, IDM_TAPE2_CLOSE, 0);
}
