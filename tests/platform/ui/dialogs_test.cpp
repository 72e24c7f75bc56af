// Modal dialogs from templates, their controls and the dialog procedure.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/ui/resources.h"
#include "ui_fixture.h"

namespace {

using ui_resources::DialogControl;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DialogControl kControls[] = {
    {"LISTBOX", "", 1000, kChild | LBS_NOTIFY | LBS_MULTIPLESEL, 10, 10, 120, 100},
    {"LISTBOX", "", 1001, kChild | LBS_SORT, 140, 10, 120, 100},
    {"EDIT", "start", 1002, kChild | ES_AUTOHSCROLL, 10, 120, 120, 20},
    {"BUTTON", "11 kHz", 1011, kChild | BS_AUTORADIOBUTTON | WS_GROUP, 10, 150, 80, 20},
    {"BUTTON", "22 kHz", 1012, kChild | BS_AUTORADIOBUTTON, 10, 170, 80, 20},
    {"BUTTON", "8 bit", 1015, kChild | BS_AUTORADIOBUTTON | WS_GROUP, 100, 150, 80, 20},
    {"BUTTON", "16 bit", 1016, kChild | BS_AUTORADIOBUTTON, 100, 170, 80, 20},
    {"STATIC", "Tracks:", 1020, kChild, 140, 120, 60, 20},
    {"BUTTON", "OK", IDOK, kChild | BS_DEFPUSHBUTTON, 200, 200, 60, 24},
    {"BUTTON", "Cancel", IDCANCEL, kChild | BS_PUSHBUTTON, 270, 200, 60, 24},
};
constexpr ui_resources::DialogResource kDialogs[] = {{143, "Program", 340, 240, kControls, std::size(kControls)}};

struct DialogLog {
  std::vector<Seen> seen;
  LPARAM init_param = 0;
} dlog;

INT_PTR CALLBACK test_dialog(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  dlog.seen.push_back({hwnd, msg, wp, lp});
  if (msg == WM_INITDIALOG) {
    dlog.init_param = lp;
    for (const char* t : {"03 Three", "01 One", "02 Two"}) {
      SendDlgItemMessageA(hwnd, 1000, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
      SendDlgItemMessageA(hwnd, 1001, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
    }
    CheckRadioButton(hwnd, 1011, 1012, 1012);
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    EndDialog(hwnd, LOWORD(wp) == IDOK ? 42 : 7);
    return TRUE;
  }
  return FALSE;
}

std::vector<WORD> notifications(WORD id) {
  std::vector<WORD> out;
  for (const auto& s : dlog.seen)
    if (s.msg == WM_COMMAND && LOWORD(s.wp) == id) out.push_back(HIWORD(s.wp));
  return out;
}

}  // namespace

class DialogsTest : public UiTest {
 protected:
  ui_resources::ResourceTables saved;
  void SetUp() override {
    UiTest::SetUp();
    dlog = DialogLog{};
    saved = ui_resources::installed();
    ui_resources::ResourceTables with_dialogs = saved;
    with_dialogs.dialogs = kDialogs;
    with_dialogs.dialog_count = std::size(kDialogs);
    ui_resources::install(with_dialogs);
  }
  void TearDown() override {
    ui_resources::install(saved);
    UiTest::TearDown();
  }
};

TEST_F(DialogsTest, ListBoxesEditsAndTheOkButtonTalkToTheDialogProcedure) {
  HWND owner = make_window();
  HWND seen_dialog = nullptr;
  std::vector<int> selected;
  char sorted_first[32] = {};
  char edit_text[32] = {};
  ui_test::on_dialog([&](HWND dlg) {
    seen_dialog = dlg;
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1000, LB_GETCOUNT, 0, 0), 3);
    SendDlgItemMessageA(dlg, 1001, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(sorted_first));
    SendDlgItemMessageA(dlg, 1000, LB_SETSEL, TRUE, 2);
    SendDlgItemMessageA(dlg, 1000, LB_SETSEL, TRUE, 0);
    int items[8];
    int n = static_cast<int>(SendDlgItemMessageA(dlg, 1000, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(items)));
    selected.assign(items, items + n);
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1000, LB_DELETESTRING, 1, 0), 2);
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1000, LB_GETSEL, 1, 0), 1);  // "02 Two" moved up, still selected
    SendDlgItemMessageA(dlg, 1000, LB_SETCARETINDEX, 1, 0);
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1000, LB_GETCARETINDEX, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1000, LB_GETTEXTLEN, 5, 0), LB_ERR);
    SetDlgItemTextA(dlg, 1002, "Sto&p");
    GetDlgItemTextA(dlg, 1002, edit_text, sizeof edit_text);
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1002, EM_LINELENGTH, 0, 0), 5);
    ui_test::click(GetDlgItem(dlg, IDOK), 10, 10);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(143), owner, test_dialog, 1234), 42);
  ASSERT_NE(seen_dialog, nullptr);
  EXPECT_EQ(dlog.init_param, 1234);
  EXPECT_STREQ(sorted_first, "01 One");
  EXPECT_EQ(selected, (std::vector<int>{0, 2}));
  EXPECT_STREQ(edit_text, "Sto&p");
  EXPECT_FALSE(notifications(1002).empty());
  EXPECT_EQ(notifications(1002).back(), EN_CHANGE);
  EXPECT_TRUE(notifications(1000).empty());  // the program's own selections raise no LBN_SELCHANGE
  EXPECT_EQ(notifications(IDOK), std::vector<WORD>{BN_CLICKED});
  EXPECT_EQ(dlog.seen.back().msg, WM_DESTROY);
  EXPECT_FALSE(IsWindow(seen_dialog));
}

TEST_F(DialogsTest, RadioGroupsFollowWsGroupAndEscapeCancels) {
  UINT first_group = 0, second_group = 0, other_in_first = 0;
  ui_test::on_dialog([&](HWND dlg) {
    ui_test::click(GetDlgItem(dlg, 1016), 5, 5);
    first_group = IsDlgButtonChecked(dlg, 1012);
    other_in_first = IsDlgButtonChecked(dlg, 1011);
    second_group = IsDlgButtonChecked(dlg, 1016);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(QApplication::activeModalWidget(), &esc);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(143), nullptr, test_dialog, 0), 7);
  EXPECT_EQ(first_group, BST_CHECKED);
  EXPECT_EQ(other_in_first, BST_UNCHECKED);
  EXPECT_EQ(second_group, BST_CHECKED);
  EXPECT_EQ(notifications(IDCANCEL).size(), 1u);
}

TEST_F(DialogsTest, TimersTickWhileADialogIsOpenAndUnknownTemplatesFail) {
  HWND owner = make_window();
  static int ticks = 0;
  ticks = 0;
  SetTimer(owner, 100, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  ui_test::on_dialog([](HWND dlg) {
    ui_test::pump_until([] { return ticks >= 3; }, 2000);
    EndDialog(dlg, 1);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(143), owner, test_dialog, 0), 1);
  EXPECT_GE(ticks, 3);
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), owner, test_dialog, 0), -1);
}

// Closing the owner while a modal window is up (Alt+F4, the session ending):
// the modal window goes with it, its call returns without an answer, and
// nothing is freed twice (the sanitizers watch).
namespace {

void close_soon(HWND owner) {
  SetTimer(owner, 7, 20, [](HWND hwnd, UINT, UINT_PTR, DWORD) {
    KillTimer(hwnd, 7);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
  });
}

bool a_window_is_shown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) return true;
  return false;
}

}  // namespace

TEST_F(DialogsTest, AMessageBoxClosesWithItsOwner) {
  HWND owner = make_window();
  HWND child = make_button(owner, 5, 0, 0, 20, 20);
  close_soon(owner);
  EXPECT_EQ(MessageBoxA(child, "Audio CD not ready or not present.", "CD", MB_YESNO), 0);
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_FALSE(a_window_is_shown());
  ui_test::pump(20);  // the owner's widget and the box are freed now
}

TEST_F(DialogsTest, ADialogAndTheBoxItShowsCloseWithTheirOwner) {
  HWND owner = make_window();
  static int box_answer = -2;
  box_answer = -2;
  ui_test::on_dialog([](HWND dlg) {
    box_answer = MessageBoxA(dlg, "Audio CD not ready or not present.", "CD", MB_OK);
  });
  close_soon(owner);
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(143), owner, test_dialog, 0), -1);
  EXPECT_EQ(box_answer, 0);
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_FALSE(a_window_is_shown());
  bool destroyed = false;
  for (const Seen& s : dlog.seen) destroyed |= s.msg == WM_DESTROY;
  EXPECT_TRUE(destroyed);  // the dialog procedure heard of it
  ui_test::pump(20);
}
