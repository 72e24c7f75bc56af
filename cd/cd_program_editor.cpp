#include <algorithm>
#include <string>
#include <vector>

#include "cd/cd_deck.h"
#include "cd/cd_dialogs.h"
#include "cd/cd_list_box.h"
#include "cd/cd_title_dialogs.h"
#include "cd/cd_titles.h"
#include "resources/ids/commands.h"
#include "resources/ids/dialogs.h"
#include "skin/centre_dialog.h"
#include "skin/rack_state.h"

void Total::add(int m, int s) {
  const int all = (minutes + m) * 60 + seconds + s;
  minutes = all / 60;
  seconds = all % 60;
}

void Total::subtract(int m, int s) {
  const int all = (minutes - m) * 60 + seconds - s;
  minutes = all / 60;
  seconds = all % 60;
}

namespace {

Total available, selected;
int selected_count = 0;

void add_time(Total& total, int track) {
  const TrackTime t = track_length(track);
  total.add(t.minutes, t.seconds);
}

void subtract_time(Total& total, int track) {
  const TrackTime t = track_length(track);
  total.subtract(t.minutes, t.seconds);
}

void refuse_more(HWND dialog) { MessageBoxA(dialog, "Total tracks must smaller than 128.", "Message", MB_OK); }

void show_selected(HWND dialog) {
  set_label(dialog, IDC_CD_PROGRAM_TOTAL, "Total :  [%d:%d]", selected.minutes, selected.seconds);
  set_label(dialog, IDC_CD_PROGRAM_COUNT, "Selected Tracks: %d", selected_count);
}

void show_disc_title(HWND dialog) {
  if (cd.titled || !shown_titles().disc.empty())
    SetDlgItemTextA(dialog, IDC_CD_TITLE_LABEL, ("Title : " + shown_titles().disc).c_str());
}

void fill(HWND dialog) {
  available = selected = Total{};
  selected_count = list_length(cd.program);
  for (int t = 1; t <= cd.track_count; ++t) {
    add_line(dialog, IDC_CD_AVAILABLE, track_line(t));
    add_time(available, t);
  }
  for (int i = 0; i < selected_count; ++i) {
    add_line(dialog, IDC_CD_PROGRAM, track_line(cd.program[i]));
    add_time(selected, cd.program[i]);
  }
  set_label(dialog, IDC_CD_AVAILABLE_COUNT, "Available Tracks: %d", cd.track_count);
  set_label(dialog, IDC_CD_AVAILABLE_TOTAL, "Total :  [%d:%d]", available.minutes, available.seconds);
  show_selected(dialog);
  show_disc_title(dialog);
}

void add_at_caret(HWND dialog) {
  if (selected_count >= kMaxProgram) return refuse_more(dialog);
  const int caret = static_cast<int>(SendDlgItemMessageA(dialog, IDC_CD_AVAILABLE, LB_GETCARETINDEX, 0, 0));
  if (caret < 0 || caret >= cd.track_count) return;
  add_line(dialog, IDC_CD_PROGRAM, track_line(caret + 1));
  SendDlgItemMessageA(dialog, IDC_CD_AVAILABLE, LB_SETSEL, FALSE, caret);
  SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_SETCARETINDEX, line_count(dialog, IDC_CD_PROGRAM) - 1, 0);
  ++selected_count;
  add_time(selected, caret + 1);
  show_selected(dialog);
}

std::vector<int> selected_lines(HWND dialog, int list) {
  std::vector<int> items(kMaxProgram + 1);
  const LRESULT n = SendDlgItemMessageA(dialog, list, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
  items.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return items;
}

void add_selected(HWND dialog) {
  const std::vector<int> items = selected_lines(dialog, IDC_CD_AVAILABLE);
  if (items.empty()) return;
  if (selected_count + static_cast<int>(items.size()) > kMaxProgram) return refuse_more(dialog);
  for (int index : items) {
    add_line(dialog, IDC_CD_PROGRAM, track_line(index + 1));
    SendDlgItemMessageA(dialog, IDC_CD_AVAILABLE, LB_SETSEL, FALSE, index);
    add_time(selected, index + 1);
  }
  selected_count += static_cast<int>(items.size());
  SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_SETCARETINDEX, line_count(dialog, IDC_CD_PROGRAM) - 1, 0);
  show_selected(dialog);
}

void remove_line(HWND dialog, int index) {
  subtract_time(selected, line_track(dialog, IDC_CD_PROGRAM, index));
  SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_DELETESTRING, index, 0);
  --selected_count;
}

void remove_at_caret(HWND dialog) {
  const int caret = static_cast<int>(SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_GETCARETINDEX, 0, 0));
  if (caret < 0 || caret >= line_count(dialog, IDC_CD_PROGRAM)) return;
  remove_line(dialog, caret);
  show_selected(dialog);
}

void remove_selected(HWND dialog) {
  const std::vector<int> items = selected_lines(dialog, IDC_CD_PROGRAM);
  if (items.empty()) return;
  for (auto it = items.rbegin(); it != items.rend(); ++it) remove_line(dialog, *it);
  show_selected(dialog);
}

// Moves line `from` to `to` keeping its selection state; the caret lands on `caret`.
void move_line(HWND dialog, int from, int insert_at, int delete_at, int caret) {
  const std::string text = list_line(dialog, IDC_CD_PROGRAM, from);
  const LRESULT was_selected = SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_GETSEL, from, 0);
  insert_line(dialog, IDC_CD_PROGRAM, insert_at, text);
  SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_SETSEL, was_selected > 0, insert_at);
  SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_DELETESTRING, delete_at, 0);
  SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_SETCARETINDEX, caret, 0);
}

int program_caret(HWND dialog) {
  SetFocus(GetDlgItem(dialog, IDC_CD_PROGRAM));
  return static_cast<int>(SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_GETCARETINDEX, 0, 0));
}

void move_up(HWND dialog) {
  const int c = program_caret(dialog);
  if (c <= 0 || c >= line_count(dialog, IDC_CD_PROGRAM)) return;
  move_line(dialog, c - 1, c + 1, c - 1, c - 1);
}

void move_down(HWND dialog) {
  const int c = program_caret(dialog);
  const int n = line_count(dialog, IDC_CD_PROGRAM);
  if (n == 0 || c < 0 || c >= n - 1) return;
  move_line(dialog, c + 1, c, c + 2, c + 1);
}

void accept(HWND dialog, bool and_play) {
  const int n = std::min(line_count(dialog, IDC_CD_PROGRAM), kMaxProgram);
  for (int i = 0; i < n; ++i) cd.program[i] = line_track(dialog, IDC_CD_PROGRAM, i);
  cd.program[n] = kEndOfList;
  if (cd.titled) save_program(dialog, cd.program);
  if (and_play) PostMessageA(main_window, WM_COMMAND, CMD_CD_PROGRAM_PLAY, 0);
  EndDialog(dialog, IDOK);
}

// After the title dialog stored titles: every line again, now with its title.
void retitle(HWND dialog) {
  SendDlgItemMessageA(dialog, IDC_CD_AVAILABLE, LB_RESETCONTENT, 0, 0);
  for (int t = 1; t <= cd.track_count; ++t) add_line(dialog, IDC_CD_AVAILABLE, track_line(t));
  const int n = line_count(dialog, IDC_CD_PROGRAM);
  for (int i = 0; i < n; ++i) {
    const int track = line_track(dialog, IDC_CD_PROGRAM, i);
    SendDlgItemMessageA(dialog, IDC_CD_PROGRAM, LB_DELETESTRING, i, 0);
    insert_line(dialog, IDC_CD_PROGRAM, i, track_line(track));
  }
  show_disc_title(dialog);
}

INT_PTR CALLBACK editor_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      centre_dialog(dialog);
      fill(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_CD_AVAILABLE:
          if (HIWORD(wparam) == LBN_DBLCLK) add_at_caret(dialog);
          break;
        case IDC_CD_PROGRAM:
          if (HIWORD(wparam) == LBN_DBLCLK) remove_at_caret(dialog);
          break;
        case IDC_CD_ADD: add_selected(dialog); break;
        case IDC_CD_REMOVE: remove_selected(dialog); break;
        case IDC_CD_UP: move_up(dialog); break;
        case IDC_CD_DOWN: move_down(dialog); break;
        case IDOK: accept(dialog, false); break;
        case IDC_CD_ACCEPT_PLAY: accept(dialog, true); break;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
        case IDC_CD_OPEN_TITLES:
          if (run_title_dialog(dialog)) retitle(dialog);
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

void run_program_editor(HWND owner) {
  DialogBoxParamA(program_instance, MAKEINTRESOURCEA(DLG_CD_PROGRAM), owner, editor_proc, 0);
}
