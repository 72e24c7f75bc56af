// The named playlists of the editor: choosing one, deleting it, saving the
// play list under a name (the name dialog), and exporting it as M3U8.
#include <cstring>

#include "platform/ui/windows.h"
#include "playlist/editor_state.h"
#include "playlist/m3u.h"
#include "playlist/names.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/strings.h"
#include "skin/centre_dialog.h"
#include "skin/file_filter.h"
#include "skin/rack_state.h"

namespace {

constexpr const char* kEmptyText = "The playlist is empty, please add file name first!";

// What the name dialog's OK took (the dialog is modal: one at a time).
std::string typed_name;

// The first line of the edit box, at most 127 characters (the box takes no more).
std::string first_line(HWND dialog) {
  char text[MAX_PATH + 1] = "";
  GetDlgItemTextA(dialog, IDC_PLAYLIST_NAME, text, sizeof text);
  return std::string(text, std::strcspn(text, "\r\n"));
}

INT_PTR CALLBACK name_dialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    centre_dialog(dialog);
    SendDlgItemMessageA(dialog, IDC_PLAYLIST_NAME, EM_SETLIMITTEXT, WorkArea::kMaxPath, 0);
    SetFocus(GetDlgItem(dialog, IDC_PLAYLIST_NAME));
    return FALSE;  // the focus is set
  }
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wparam) == IDOK) {
    typed_name = first_line(dialog);
    EndDialog(dialog, 1);
    return TRUE;
  }
  if (LOWORD(wparam) == IDCANCEL) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

bool ask_name(HWND owner, std::string& name) {
  typed_name.clear();
  if (DialogBoxParamA(program_instance, MAKEINTRESOURCEA(DLG_PLAYLIST_NAME), owner, name_dialog, 0) != 1) return false;
  name = typed_name;
  return true;
}

// The name dialog comes back: after a refused name, or when the user would not overwrite.
void ask_again(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDC_PLAYLIST_SAVE, 0); }

int find_name(const std::vector<std::string>& names, const std::string& name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (same_name(names[i], name)) return static_cast<int>(i);
  return -1;
}

}  // namespace

void choose_playlist(HWND) {
  const int chosen = chooser_selection();
  if (chosen < 0) return;
  const std::vector<std::string> names = chooser_names();
  empty_play_list();
  load_play_list(read_list(names[static_cast<std::size_t>(chosen)], editor.files.scratch));
}

void delete_playlist(HWND dialog) {
  const int chosen = chooser_selection();
  if (chooser_names().empty() || chosen < 0) return;
  if (editor_box("The current playlist will be deleted!", "Delete Playlist", MB_OKCANCEL) == IDCANCEL) return;
  SendDlgItemMessageA(dialog, IDC_PLAYLIST_CHOOSER, CB_DELETESTRING, static_cast<WPARAM>(chosen), 0);
  empty_play_list();
  // The play list no longer shows any named playlist: none is selected.
  SendDlgItemMessageA(dialog, IDC_PLAYLIST_CHOOSER, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void save_playlist(HWND dialog) {
  if (editor.work.count() == 0) {
    editor_box(kEmptyText, "Information", MB_OK);
    return;
  }
  std::string name;
  if (!ask_name(dialog, name)) return;
  if (std::string why = why_name_refused(name); !why.empty()) {
    editor_box(why, "Playlist Name", MB_OK | MB_ICONEXCLAMATION);
    return ask_again(dialog);
  }
  int index = find_name(chooser_names(), name);
  if (index >= 0) {
    if (editor_box("The playlist already exists, do you want to overwrite it?", "Information",
                   MB_YESNO | MB_ICONQUESTION) == IDNO)
      return ask_again(dialog);
  } else {
    index = static_cast<int>(
        SendDlgItemMessageA(dialog, IDC_PLAYLIST_CHOOSER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str())));
  }
  SendDlgItemMessageA(dialog, IDC_PLAYLIST_CHOOSER, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  write_scratch_playlist(editor.files.scratch, name, play_list_entries());
}

void export_play_list(HWND dialog) {
  if (editor.work.count() == 0) {
    editor_box(kEmptyText, "Information", MB_OK);
    return;
  }
  const std::string filter = load_file_filter(IDS_M3U8_SAVE_FILTER);
  char file[MAX_PATH + 1] = "";
  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = dialog;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file;
  request.nMaxFile = sizeof file;
  request.lpstrTitle = "Export Playlist";
  request.lpstrDefExt = "m3u8";
  request.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameA(&request)) return;
  if (!write_m3u8(file, play_list_entries()))
    editor_box(std::string("The playlist could not be written to\n") + file,
               "Export Playlist", MB_OK | MB_ICONEXCLAMATION);
}
