// Leaving the editor: Confirm rewrites the store and loads the new play list's
// first item into the deck the editor was opened for; Play does that and
// starts it; Cancel leaves the store and the deck's file as they were.
#include "platform/ui/windows.h"
#include "playlist/editor_state.h"
#include "resources/ids/commands.h"
#include "resources/ids/menus.h"
#include "skin/rack_state.h"

namespace {

// Whether confirming this play list would close or replace what deck 2 holds.
bool reaches_deck2(const std::vector<std::string>& play_list) {
  if (editor.target == IDM_TAPE2_PLAYLIST) return true;
  return editor.target == IDM_TAPE1_PLAYLIST && !play_list.empty() && play_list.front() != kNoTitle;
}

// The deck holds nothing any more: its display shows that.
void close_with_display(Deck& deck) {
  close_deck_device(deck);
  if (deck.kind == DeckKind::Midi)
    repaint_midi_module();
  else
    InvalidateRect(main_window, nullptr, FALSE);  // the face's empty LCD and bar
}

// Playlist mode from the first item; false when that item would not open
// (the user was shown why).
bool load_first_item(Deck& deck) {
  DeckPlaylist& playlist = playlist_of(deck);
  playlist.mode = 1;
  playlist.running = 0;
  (deck.kind == DeckKind::Midi ? midi_playlist_index : wave_playlist_index) = 0;
  const std::string first = read_entry(kPlayListSection, "0", editor.files.store);
  if (first == kNoTitle) return true;
  if (!open_into_deck(deck, first, name_offset_of(first))) return false;
  if (deck.kind == DeckKind::Midi) {
    midi_load_finished();
    return true;
  }
  wave_load_finished(deck.number);
  // One wave play list, one deck playing it: the other deck closes.
  Deck& other = wave_deck(deck.number == 1 ? 2 : 1);
  if (other.loaded()) close_with_display(other);
  return true;
}

void close_editor(HWND dialog) {
  release_editor();
  PostMessageA(dialog, WM_COMMAND, IDABORT, 0);
}

// True when the editor closed.
bool confirm_editor(HWND dialog) {
  const std::vector<std::string> play_list = play_list_entries();
  if (reaches_deck2(play_list) && !ask_to_save_recording(dialog)) return false;
  if (!write_store(editor.files, play_list, chooser_names(), chooser_selection())) {
    editor_box("The playlist file could not be written:\n" + editor.files.store +
                   "\n\nIt was left as it was; the editor stays open.",
               "Playlist", MB_OK | MB_ICONHAND);
    return false;
  }
  Deck& deck = target_deck();
  if (deck.loaded()) close_with_display(deck);
  if (read_list_count(kPlayListSection, editor.files.store) > 0 && !load_first_item(deck)) return false;
  close_editor(dialog);
  return true;
}

}  // namespace

void confirm(HWND dialog) { confirm_editor(dialog); }

void confirm_and_play(HWND dialog) {
  const bool has_play_list = editor.work.count() > 0;
  if (!confirm_editor(dialog) || !has_play_list) return;
  if (editor.target == IDM_MIDI_PLAYLIST) {
    PostMessageA(main_window, WM_COMMAND, CMD_MIDI_PLAY, 0);
    return;
  }
  // The deck lamps follow with the play's own load.
  active_wave_deck = editor.target == IDM_TAPE2_PLAYLIST ? 2 : 1;
  PostMessageA(main_window, WM_COMMAND, CMD_WAVE_PLAY, 0);
}

void cancel(HWND dialog) {
  playlist_of(target_deck()).mode = 0;
  close_editor(dialog);
}

void release_editor() {
  editor.work.release();
  if (!editor.files.scratch.empty()) delete_profile_file(editor.files.scratch);
  editor.files = {};
}
