#pragma once
// Driving the window layer from tests: scripted answers for message boxes,
// popup menus and file dialogs (each one shown is recorded), scripts for
// dialogs with hands on their controls, synthetic input at client points,
// running the event loop for a while, and reading back pixels.
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/windows.h"

namespace ui_test {

struct ShownBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  int answer;
};

struct ShownMenuItem {
  UINT id;
  std::string text;
  bool checked;
  bool grayed;
  bool separator;
  bool popup;
};

struct ShownMenu {
  HWND owner;
  int x;
  int y;
  UINT flags;
  std::vector<ShownMenuItem> items;
  UINT chosen;  // 0 when dismissed
};

struct ShownFileDialog {
  HWND owner;
  bool save;
  std::string title;
  std::string initial_dir;
  std::vector<std::string> filters;  // "description|patterns"
  DWORD flags;
  std::string initial_file;   // lpstrFile as the program filled it
  std::string default_ext;
};

// From the first call on, message boxes and popup menus no longer wait for a
// user: each takes the next scripted answer. A box with no answer left
// returns its first button (IDOK, IDYES, IDABORT, IDRETRY); a menu with no
// choice left is dismissed. reset() ends scripting and clears the records.
void answer_box(int answer);
void choose_menu_item(UINT id);  // 0 dismisses the menu
void answer_file_dialog(const std::string& path);  // empty: Cancel
void script_ui();                // scripting on without queuing anything
// The next dialog shown runs `script` with its handle from inside its modal
// loop (for instance: fill controls, then EndDialog or a click on OK).
void on_dialog(std::function<void(HWND)> script);
void reset();

const std::vector<ShownBox>& boxes();
const std::vector<ShownMenu>& menus();
const std::vector<ShownFileDialog>& file_dialogs();

// Input at a client point of a window or child window, delivered as the
// platform would deliver it (through Qt's event dispatch).
void press(HWND hwnd, int x, int y);
void move(HWND hwnd, int x, int y);  // with the left button held if pressed
void release(HWND hwnd, int x, int y);
void click(HWND hwnd, int x, int y);
void double_click(HWND hwnd, int x, int y);
void right_click(HWND hwnd, int x, int y);  // right button press and release
void key(HWND hwnd, WPARAM vk, bool alt = false, bool ctrl = false);  // press and release
// Drops local files at a client point of a top-level window, as a file
// manager's drag would (enter, then drop). False when the window refused them.
bool drop_files(HWND hwnd, int x, int y, const std::vector<std::string>& paths);
// Moves the keyboard focus away from every window of the program.
void clear_focus();

// Dialog controls worked as a user works them, with the notifications that
// brings (call them from an on_dialog script). `dialog` is the dialog's
// handle, `id` the control's identifier.
void set_text(HWND dialog, int id, const std::string& text);  // edit or editable combo: EN_CHANGE
// List box: a click on the item (LBN_SELCHANGE); in a multiple-selection list
// it toggles the item, in an extended one `extend` adds it. Combo box: the
// item chosen from the drop-down list (CBN_SELCHANGE, CBN_SELENDOK).
void select_item(HWND dialog, int id, int index, bool extend = false);
void double_click_item(HWND dialog, int id, int index);  // selects, then LBN_DBLCLK
void click_control(HWND dialog, int id);                  // BN_CLICKED; radio and check boxes change
void key_in(HWND dialog, int id, WPARAM vk);              // a key pressed with the focus in the control
std::string control_text(HWND dialog, int id);
std::vector<std::string> control_items(HWND dialog, int id);  // list or combo box
std::vector<int> selected_items(HWND dialog, int id);         // list box, or a combo box's selection
bool is_checked(HWND dialog, int id);
bool is_enabled(HWND dialog, int id);
bool has_focus(HWND dialog, int id);

// Runs the event loop for ms milliseconds (timers, posted messages, paints).
void pump(int ms);
// Runs the event loop until pred() holds or ms have passed; returns pred().
template <typename Pred>
bool pump_until(Pred pred, int ms);
bool pump_step(int max_ms);  // one wait for events of at most max_ms

// A pixel of a window's client area as drawn so far (owed paints done first).
COLORREF pixel(HWND hwnd, int x, int y);
QImage client_image(HWND hwnd);

template <typename Pred>
bool pump_until(Pred pred, int ms) {
  for (int waited = 0; !pred() && waited < ms; waited += 5) pump_step(5);
  return pred();
}

}  // namespace ui_test
