#pragma once
// Inside the playlist editor: what it edits and for which deck, and the
// actions its controls run. The editor lives from WM_INITDIALOG of its dialog
// to the dialog's end; only the target outlives it. UI thread only.
#include <string>
#include <vector>

#include "decks/decks.h"
#include "playlist/store.h"
#include "playlist/work_area.h"

struct EditorState {
  WORD target = 0;        // 119, 120 or 121; kept after the editor closes
  HWND window = nullptr;  // the editor's dialog while it is open
  WorkArea work;
  StoreFiles files;
};
extern EditorState editor;

DeckKind target_kind();
Deck& target_deck();

// The work area and its list (1001) together.
void add_to_play_list(const std::string& path);  // the caller checked room and length
void empty_play_list();
// Fills the play list from entries (at most 128 taken); entries that do not fit
// a slot are left out and named in one message.
void load_play_list(const std::vector<std::string>& entries);
std::vector<std::string> play_list_entries();

// The chooser (1046): its names, and its selection (-1: none).
std::vector<std::string> chooser_names();
int chooser_selection();

// Shows a message box owned by the editor.
int editor_box(const std::string& text, const char* caption, UINT type);

// The actions of the controls (each takes the editor's dialog).
void add_file(HWND dialog);
void add_all_files(HWND dialog);
void remove_entry(HWND dialog);
void clear_entries(HWND dialog);
void choose_playlist(HWND dialog);
void delete_playlist(HWND dialog);
void save_playlist(HWND dialog);
void export_play_list(HWND dialog);
void confirm(HWND dialog);
void confirm_and_play(HWND dialog);
void cancel(HWND dialog);
// The editor's end however it comes: the work area released, the scratch file gone.
void release_editor();
