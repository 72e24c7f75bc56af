#include "cd/cd_title_dialogs.h"

#include <string>

#include "cd/cd_deck.h"
#include "cd/cd_dialogs.h"
#include "cd/cd_list_box.h"
#include "cd/cd_titles.h"
#include "resources/ids/dialogs.h"
#include "skin/centre_dialog.h"
#include "skin/rack_state.h"

namespace {

bool titles_saved = false;
int track_being_titled = 0;
bool title_changed = false;
std::string working_line;  // the line the track-title dialog edits

INT_PTR CALLBACK track_title_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      centre_dialog(dialog);
      const std::string title =
          working_line.size() > kTrackLinePrefix ? working_line.substr(kTrackLinePrefix) : std::string();
      SetDlgItemTextA(dialog, IDC_CD_TRACK_TITLE, title.c_str());
      const TrackTime length = track_length(track_being_titled);
      set_label(dialog, IDC_CD_TRACK_LABEL, "Track : %02d  [%02d:%02d]", track_being_titled, length.minutes,
                length.seconds);
      SetFocus(GetDlgItem(dialog, IDC_CD_TRACK_TITLE));
      title_changed = false;
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        const TrackTime length = track_length(track_being_titled);
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "%02d  [%02d:%02d]  ", track_being_titled, length.minutes, length.seconds);
        working_line = prefix + window_text(dialog, IDC_CD_TRACK_TITLE);
        title_changed = true;
        EndDialog(dialog, IDOK);
      } else if (LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

void title_track(HWND dialog) {
  const int caret = static_cast<int>(SendDlgItemMessageA(dialog, IDC_CD_TITLE_TRACKS, LB_GETCARETINDEX, 0, 0));
  if (caret < 0 || caret >= line_count(dialog, IDC_CD_TITLE_TRACKS)) return;
  track_being_titled = caret + 1;
  working_line = list_line(dialog, IDC_CD_TITLE_TRACKS, caret);
  DialogBoxParamA(program_instance, MAKEINTRESOURCEA(DLG_CD_TRACK_TITLE), dialog, track_title_proc, 0);
  if (!title_changed) return;
  SendDlgItemMessageA(dialog, IDC_CD_TITLE_TRACKS, LB_DELETESTRING, caret, 0);
  insert_line(dialog, IDC_CD_TITLE_TRACKS, caret, working_line);
  SendDlgItemMessageA(dialog, IDC_CD_TITLE_TRACKS, LB_SETCURSEL, caret, 0);
}

void store_titles(HWND dialog) {
  DiscTitles titles;
  titles.disc = window_text(dialog, IDC_CD_DISC_TITLE);
  const int n = line_count(dialog, IDC_CD_TITLE_TRACKS);
  for (int i = 0; i < n; ++i) {
    const std::string line = list_line(dialog, IDC_CD_TITLE_TRACKS, i);
    titles.tracks.push_back(line.size() > kTrackLinePrefix ? line.substr(kTrackLinePrefix) : std::string());
  }
  save_titles(dialog, titles);
  cd.titled = 1;
  titles_saved = true;
}

INT_PTR CALLBACK title_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      centre_dialog(dialog);
      // Stored titles, else the disc's CD-Text: the dialog opens with what the panel shows.
      SetDlgItemTextA(dialog, IDC_CD_DISC_TITLE, shown_titles().disc.c_str());
      for (int t = 1; t <= cd.track_count; ++t) add_line(dialog, IDC_CD_TITLE_TRACKS, track_line(t));
      SetFocus(GetDlgItem(dialog, IDC_CD_DISC_TITLE));
      titles_saved = false;
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_CD_TITLE_TRACKS:
          if (HIWORD(wparam) == LBN_DBLCLK) title_track(dialog);
          break;
        case IDOK:
          store_titles(dialog);
          EndDialog(dialog, IDOK);
          break;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          break;
      }
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

bool run_title_dialog(HWND owner) {
  titles_saved = false;
  DialogBoxParamA(program_instance, MAKEINTRESOURCEA(DLG_CD_TITLES), owner, title_proc, 0);
  return titles_saved;
}
