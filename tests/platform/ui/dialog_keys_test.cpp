// The dialog manager's part: Enter and Escape, tab stops, the focus after
// WM_INITDIALOG, placing the dialog, and the messages of statics, edits,
// list boxes and combo boxes as the dialogs of the program use them.
#include <QApplication>
#include <QComboBox>
#include <QWidget>

#include "platform/ui/resources.h"
#include "ui_fixture.h"

namespace {

using ui_resources::DialogControl;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kStop = kChild | WS_TABSTOP;
constexpr DialogControl kControls[] = {
    {"STATIC", "Selected Tracks: 0", -1, kChild, 10, 10, 150, 16},
    {"STATIC", "unused", -1, kChild, 10, 30, 150, 16},
    {"EDIT", "", 1013, kStop, 10, 50, 100, 22},
    {"LISTBOX", "", 1001, kStop | LBS_NOTIFY | LBS_MULTIPLESEL, 10, 80, 150, 100},
    {"COMBOBOX", "", 1046, kStop | CBS_DROPDOWNLIST, 170, 50, 150, 24},
    {"BUTTON", "&Add", 1002, kChild | BS_PUSHBUTTON, 170, 80, 80, 24},  // no tab stop
    {"BUTTON", "OK", IDOK, kStop | BS_DEFPUSHBUTTON, 170, 150, 70, 24},
    {"BUTTON", "Cancel", IDCANCEL, kStop | BS_PUSHBUTTON, 250, 150, 70, 24},
};
constexpr DialogControl kNoDefault[] = {
    {"EDIT", "", 1021, kChild | WS_TABSTOP, 10, 10, 100, 22},
    {"BUTTON", "Close", 1030, kChild | BS_PUSHBUTTON, 10, 40, 70, 24},
};
constexpr ui_resources::DialogResource kDialogs[] = {
    {213, "Format", 330, 190, kControls, std::size(kControls)},
    {234, "Track", 200, 80, kNoDefault, std::size(kNoDefault)},
};

struct Log {
  std::vector<Seen> commands;
  std::function<INT_PTR(HWND)> on_init;
} dlog;

INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) return dlog.on_init ? dlog.on_init(hwnd) : TRUE;
  if (msg != WM_COMMAND) return FALSE;
  dlog.commands.push_back({hwnd, msg, wp, lp});
  if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL || LOWORD(wp) == 1030) EndDialog(hwnd, LOWORD(wp));
  return TRUE;
}

std::vector<WORD> codes_of(int id) {
  std::vector<WORD> out;
  for (const auto& c : dlog.commands)
    if (LOWORD(c.wp) == id) out.push_back(HIWORD(c.wp));
  return out;
}

}  // namespace

class DialogKeysTest : public UiTest {
 protected:
  ui_resources::ResourceTables saved;
  void SetUp() override {
    UiTest::SetUp();
    dlog = Log{};
    saved = ui_resources::installed();
    ui_resources::ResourceTables tables = saved;
    tables.dialogs = kDialogs;
    tables.dialog_count = std::size(kDialogs);
    ui_resources::install(tables);
  }
  void TearDown() override {
    ui_resources::install(saved);
    UiTest::TearDown();
  }
  INT_PTR run(int id, std::function<void(HWND)> script, HWND owner = nullptr) {
    ui_test::on_dialog(std::move(script));
    return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(static_cast<WORD>(id)), owner, dialog_proc, 0);
  }
};

TEST_F(DialogKeysTest, EnterPressesTheFocusedOrDefaultButtonElseIdOkAndEscapeCancels) {
  // Enter in the edit: the default push button (OK), with its handle.
  HWND ok = nullptr;
  EXPECT_EQ(run(213,
                [&](HWND dlg) {
                  ok = GetDlgItem(dlg, IDOK);
                  ui_test::key_in(dlg, 1013, VK_RETURN);
                }),
            IDOK);
  ASSERT_FALSE(dlog.commands.empty());
  EXPECT_EQ(dlog.commands.back().lp, reinterpret_cast<LPARAM>(ok));
  // Enter on a focused push button presses that button, not the default one.
  dlog.commands.clear();
  EXPECT_EQ(run(213,
                [](HWND dlg) {
                  ui_test::key_in(dlg, 1002, VK_RETURN);
                  ui_test::key_in(dlg, 1001, VK_ESCAPE);
                }),
            IDCANCEL);
  EXPECT_EQ(codes_of(1002), std::vector<WORD>{BN_CLICKED});
  EXPECT_TRUE(codes_of(IDOK).empty());
  // No default button: Enter still sends IDOK, which this procedure ignores
  // (no OK control); Escape sends IDCANCEL though there is no Cancel button.
  dlog.commands.clear();
  EXPECT_EQ(run(234,
                [](HWND dlg) {
                  ui_test::key_in(dlg, 1021, VK_RETURN);
                  EXPECT_EQ(codes_of(IDOK), std::vector<WORD>{BN_CLICKED});
                  ui_test::key_in(dlg, 1021, VK_ESCAPE);
                }),
            IDCANCEL);
}

TEST_F(DialogKeysTest, TabStopsAndTheFocusAfterInitialisation) {
  // TRUE from WM_INITDIALOG focuses the first tab stop (statics are none).
  dlog.on_init = [&](HWND) { return TRUE; };
  run(213, [&](HWND dlg) {
    EXPECT_TRUE(ui_test::has_focus(dlg, 1013));
    // Tab skips the Add button, which has no WS_TABSTOP.
    ui_test::key_in(dlg, 1046, VK_TAB);
    EXPECT_TRUE(ui_test::has_focus(dlg, IDOK));
    EndDialog(dlg, 0);
  });
  // FALSE: the procedure has put the focus itself.
  dlog.on_init = [](HWND dlg) {
    SetFocus(GetDlgItem(dlg, 1001));
    return FALSE;
  };
  run(213, [](HWND dlg) {
    EXPECT_TRUE(ui_test::has_focus(dlg, 1001));
    EXPECT_FALSE(ui_test::has_focus(dlg, 1013));
    EndDialog(dlg, 0);
  });
}

TEST_F(DialogKeysTest, ADialogOpensOverItsOwnerAndCanCentreItselfOnTheScreen) {
  HWND owner = make_window(400, 300);
  RECT owner_rect{}, seen{};
  GetWindowRect(owner, &owner_rect);
  run(
      234,
      [&](HWND dlg) {
        GetWindowRect(dlg, &seen);
        EndDialog(dlg, 0);
      },
      owner);
  EXPECT_NEAR((seen.left + seen.right) / 2, (owner_rect.left + owner_rect.right) / 2, 1);
  EXPECT_NEAR((seen.top + seen.bottom) / 2, (owner_rect.top + owner_rect.bottom) / 2, 1);
  // Centring as the program does it, from WM_INITDIALOG: the window rectangle
  // (frame included) moves, its size stays.
  RECT before{};
  dlog.on_init = [&](HWND dlg) {
    GetWindowRect(dlg, &before);
    int x = (GetSystemMetrics(SM_CXSCREEN) - (before.right - before.left)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - (before.bottom - before.top)) / 2;
    SetWindowPos(dlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return TRUE;
  };
  POINT client{0, 0}, control{0, 0};
  RECT client_rect{};
  run(
      213,
      [&](HWND dlg) {
        GetWindowRect(dlg, &seen);
        GetClientRect(dlg, &client_rect);
        ClientToScreen(dlg, &client);
        ClientToScreen(GetDlgItem(dlg, 1013), &control);
        EndDialog(dlg, 0);
      },
      owner);
  EXPECT_EQ(seen.left, (GetSystemMetrics(SM_CXSCREEN) - (before.right - before.left)) / 2);
  EXPECT_EQ(seen.top, (GetSystemMetrics(SM_CYSCREEN) - (before.bottom - before.top)) / 2);
  EXPECT_EQ(seen.right - seen.left, before.right - before.left);
  EXPECT_EQ(client_rect.right, 330);
  EXPECT_EQ(client_rect.bottom, 190);
  EXPECT_GE(client.x, seen.left);
  EXPECT_EQ(control.x, client.x + 10);
  EXPECT_EQ(control.y, client.y + 50);
}

TEST_F(DialogKeysTest, StaticsEditsAndListsKeepWhatTheProgramGaveThem) {
  run(213, [](HWND dlg) {
    // The first control with identifier -1 answers for it; text is never markup.
    SetDlgItemTextA(dlg, -1, "Title : <b>Caf\xC3\xA9</b> & more");
    EXPECT_EQ(ui_test::control_text(dlg, -1), "Title : <b>Caf\xC3\xA9</b> & more");
    ShowWindow(GetDlgItem(dlg, 1002), SW_HIDE);
    EnableWindow(GetDlgItem(dlg, IDOK), FALSE);
    ui_test::pump(30);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 1002)));
    EXPECT_FALSE(ui_test::is_enabled(dlg, IDOK));
    // Numbers in edits.
    BOOL ok = TRUE;
    SetDlgItemInt(dlg, 1013, static_cast<UINT>(-48), TRUE);
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(dlg, 1013, &ok, TRUE)), -48);
    EXPECT_TRUE(ok);
    GetDlgItemInt(dlg, 1013, &ok, FALSE);
    EXPECT_FALSE(ok);
    ui_test::set_text(dlg, 1013, "11.025");
    EXPECT_EQ(GetDlgItemInt(dlg, 1013, &ok, FALSE), 0u);
    EXPECT_FALSE(ok);
    SendDlgItemMessageA(dlg, 1013, EM_SETSEL, 3, -1);
    DWORD start = 0, end = 0;
    SendDlgItemMessageA(dlg, 1013, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 6u);
    // List items come back byte for byte, whatever their encoding.
    const char* utf8 = "01 Caf\xC3\xA9";
    const char* latin1 = "02 Caf\xE9";
    SendDlgItemMessageA(dlg, 1001, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(utf8));
    SendDlgItemMessageA(dlg, 1001, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(latin1));
    SendDlgItemMessageA(dlg, 1001, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("01 caf"));
    EXPECT_EQ(ui_test::control_items(dlg, 1001), (std::vector<std::string>{utf8, latin1, "01 caf"}));
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1001, LB_GETTEXTLEN, 0, 0), 8);
    // Searches start after wParam and wrap; prefixes and case do not matter.
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1001, LB_FINDSTRING, 0, reinterpret_cast<LPARAM>("01 CAF")), 2);
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1001, LB_FINDSTRING, 2, reinterpret_cast<LPARAM>("01 CAF")), 0);
    EXPECT_EQ(
        SendDlgItemMessageA(dlg, 1001, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("01 CAF")),
        2);
    EXPECT_EQ(
        SendDlgItemMessageA(dlg, 1001, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("03")),
        LB_ERR);
    // A posted WM_SETFOCUS gives the list the keyboard, as the Up button does.
    PostMessageA(GetDlgItem(dlg, 1001), WM_SETFOCUS, reinterpret_cast<WPARAM>(GetDlgItem(dlg, 1002)), 0);
    ui_test::pump(20);
    EXPECT_TRUE(ui_test::has_focus(dlg, 1001));
    // The user's clicks toggle lines of a multiple selection and are notified.
    ui_test::select_item(dlg, 1001, 0);
    ui_test::select_item(dlg, 1001, 2);
    ui_test::double_click_item(dlg, 1001, 1);
    EXPECT_EQ(ui_test::selected_items(dlg, 1001), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1001, LB_GETCARETINDEX, 0, 0), 1);
    EndDialog(dlg, 0);
  });
  EXPECT_EQ(codes_of(1001), (std::vector<WORD>{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK}));
}

TEST_F(DialogKeysTest, TheComboBoxAnswersTheChooserMessagesAndNotifiesOnlyTheUser) {
  run(213, [](HWND dlg) {
    auto send = [dlg](UINT msg, WPARAM wp, const char* text) {
      return SendDlgItemMessageA(dlg, 1046, msg, wp, reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(send(CB_GETCURSEL, 0, nullptr), CB_ERR);  // starts without a selection
    EXPECT_EQ(send(CB_ADDSTRING, 0, "Rock"), 0);
    EXPECT_EQ(send(CB_ADDSTRING, 0, "Jazz"), 1);  // not sorted without CBS_SORT
    EXPECT_EQ(send(CB_INSERTSTRING, 0, "Blues"), 0);
    EXPECT_EQ(send(CB_GETCOUNT, 0, nullptr), 3);
    EXPECT_EQ(send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "JAZZ"), 2);
    EXPECT_EQ(send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "Ja"), CB_ERR);
    EXPECT_EQ(send(CB_SETCURSEL, 2, nullptr), 2);
    char text[16] = {};
    EXPECT_EQ(send(CB_GETLBTEXT, 2, text), 4);
    EXPECT_STREQ(text, "Jazz");
    EXPECT_EQ(send(CB_GETLBTEXTLEN, 7, nullptr), CB_ERR);
    EXPECT_EQ(ui_test::control_text(dlg, 1046), "Jazz");
    // Deleting the selected name leaves no selection; an earlier one keeps it.
    EXPECT_EQ(send(CB_DELETESTRING, 0, nullptr), 2);
    EXPECT_EQ(send(CB_GETCURSEL, 0, nullptr), 1);
    EXPECT_EQ(send(CB_DELETESTRING, 1, nullptr), 1);
    EXPECT_EQ(send(CB_GETCURSEL, 0, nullptr), CB_ERR);
    EXPECT_EQ(send(CB_SETCURSEL, static_cast<WPARAM>(-1), nullptr), CB_ERR);
    EXPECT_TRUE(codes_of(1046).empty());  // none of that was the user
    // The user's choice, the drop-down and the focus are notified.
    send(CB_ADDSTRING, 0, "Jazz");
    ui_test::select_item(dlg, 1046, 1);
    EXPECT_EQ(ui_test::selected_items(dlg, 1046), std::vector<int>{1});
    SendDlgItemMessageA(dlg, 1046, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(SendDlgItemMessageA(dlg, 1046, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    SendDlgItemMessageA(dlg, 1046, CB_SHOWDROPDOWN, FALSE, 0);
    EndDialog(dlg, 0);
  });
  std::vector<WORD> codes = codes_of(1046);
  auto count = [&](WORD code) { return std::count(codes.begin(), codes.end(), code); };
  EXPECT_EQ(count(CBN_SELCHANGE), 1);
  EXPECT_EQ(count(CBN_SELENDOK), 1);
  EXPECT_EQ(count(CBN_DROPDOWN), 1);
  EXPECT_EQ(count(CBN_CLOSEUP), 1);
}
