// Filling the play list from the dialog's file list: one file, every file,
// and the entries of M3U playlists; removing and clearing entries.
#include <algorithm>

#include "platform/ui/windows.h"
#include "playlist/editor_state.h"
#include "playlist/m3u.h"
#include "playlist/names.h"
#include "resources/ids/dialogs.h"

namespace {

constexpr std::size_t kReasonsShown = 8;

std::string list_text(HWND dialog, int id, LRESULT index) {
  const LRESULT length = SendDlgItemMessageA(dialog, id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendDlgItemMessageA(dialog, id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// The folder the file list shows: the folder list's items from the root down
// to its caret, joined with '/', ending with '/'.
std::string dialog_folder(HWND dialog) {
  std::string folder = list_text(dialog, lst2, 0);
  const LRESULT caret = SendDlgItemMessageA(dialog, lst2, LB_GETCARETINDEX, 0, 0);
  for (LRESULT k = 1; k <= caret; ++k) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    folder += list_text(dialog, lst2, k);
  }
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

void show_full() { editor_box("Playlist can not hold more than 128 files!", "Error", MB_OK | MB_ICONHAND); }

// Why files were not added, told once at the end of an action.
struct Refusals {
  std::vector<std::string> reasons;
  void show() const {
    if (reasons.empty()) return;
    std::string text;
    for (std::size_t i = 0; i < reasons.size() && i < kReasonsShown; ++i) text += (i ? "\n\n" : "") + reasons[i];
    if (reasons.size() > kReasonsShown)
      text += "\n\n(" + std::to_string(reasons.size() - kReasonsShown) + " more not added.)";
    editor_box(text, "Playlist", MB_OK | MB_ICONEXCLAMATION);
  }
};

// False when the play list is full (and the user was told).
bool add_path(const std::string& path, Refusals& refusals) {
  if (editor.work.full()) {
    show_full();
    return false;
  }
  if (std::string why = why_path_refused(path); !why.empty()) {
    refusals.reasons.push_back(why);
    return true;
  }
  add_to_play_list(path);
  return true;
}

// A media file, or every entry of a playlist file. False when the play list is full.
bool add_item(const std::string& folder, const std::string& name, Refusals& refusals) {
  const std::string path = folder + name;
  if (!is_m3u_name(name)) return add_path(path, refusals);
  const auto playlist = read_m3u(path);
  if (!playlist) {
    refusals.reasons.push_back("This playlist file could not be read:\n" + path);
    return true;
  }
  for (const std::string& entry : playlist->paths)
    if (!add_path(entry, refusals)) return false;
  if (playlist->urls_left_out > 0)
    refusals.reasons.push_back(std::to_string(playlist->urls_left_out) + " web address(es) of " + path +
                               " left out: only files can be played.");
  return true;
}

}  // namespace

void add_file(HWND dialog) {
  if (editor.work.full()) return show_full();
  const LRESULT caret = SendDlgItemMessageA(dialog, lst1, LB_GETCARETINDEX, 0, 0);
  const LRESULT count = SendDlgItemMessageA(dialog, lst1, LB_GETCOUNT, 0, 0);
  if (caret < 0 || caret >= count) return;
  Refusals refusals;
  add_item(dialog_folder(dialog), list_text(dialog, lst1, caret), refusals);
  refusals.show();
}

void add_all_files(HWND dialog) {
  const std::string folder = dialog_folder(dialog);
  const LRESULT count = SendDlgItemMessageA(dialog, lst1, LB_GETCOUNT, 0, 0);
  Refusals refusals;
  for (LRESULT i = 0; i < count; ++i)
    if (!add_item(folder, list_text(dialog, lst1, i), refusals)) break;
  refusals.show();
}

void remove_entry(HWND dialog) {
  const LRESULT caret = SendDlgItemMessageA(dialog, IDC_PLAYLIST_ITEMS, LB_GETCARETINDEX, 0, 0);
  if (caret < 0 || caret >= editor.work.count()) return;
  SendDlgItemMessageA(dialog, IDC_PLAYLIST_ITEMS, LB_DELETESTRING, static_cast<WPARAM>(caret), 0);
  editor.work.remove(static_cast<int>(caret));
  // The caret stays where it was, so entries can be removed one after another.
  if (editor.work.count() > 0)
    SendDlgItemMessageA(dialog, IDC_PLAYLIST_ITEMS, LB_SETCURSEL,
                        static_cast<WPARAM>(std::min<LRESULT>(caret, editor.work.count() - 1)), 0);
}

void clear_entries(HWND) { empty_play_list(); }
