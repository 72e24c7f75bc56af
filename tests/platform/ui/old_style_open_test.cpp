// The old-style Open dialog with a template and a hook, driven as the
// playlist editor drives it: the hook reads the file and folder lists,
// answers the template's controls and ends the dialog with IDABORT.
#include <sys/stat.h>

#include <fstream>

#include "platform/ui/resources.h"
#include "support/temp_home.h"
#include "ui_fixture.h"

namespace {

using ui_resources::DialogControl;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DialogControl kTemplate[] = {
    {"LISTBOX", "", 1001, kChild | LBS_NOTIFY, 8, 48, 160, 220},
    {"COMBOBOX", "", 1046, kChild | CBS_DROPDOWNLIST, 8, 8, 160, 24},
    {"BUTTON", "&Add", 1036, kChild | BS_PUSHBUTTON, 176, 48, 80, 24},
    {"BUTTON", "OK", IDOK, kChild | BS_DEFPUSHBUTTON, 176, 200, 80, 24},
    {"BUTTON", "Cancel", IDCANCEL, kChild | BS_PUSHBUTTON, 176, 230, 80, 24},
};
constexpr ui_resources::DialogResource kDialogs[] = {{1536, "Playlist", 264, 300, kTemplate, std::size(kTemplate)}};

struct HookLog {
  std::vector<Seen> commands;
  LPARAM init_param = 0;
  std::vector<std::string> files_at_init;
  UINT_PTR answer = TRUE;  // what the hook returns for commands
} hook_log;

std::string item(HWND dlg, int id, LRESULT index) {
  char text[256] = {};
  if (SendDlgItemMessageA(dlg, id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)) == LB_ERR)
    return "";
  return text;
}

// The directory as the editor builds it: item 0, then the items up to the caret.
std::string folder_of_dialog(HWND dlg) {
  std::string path = item(dlg, lst2, 0);
  LRESULT caret = SendDlgItemMessageA(dlg, lst2, LB_GETCARETINDEX, 0, 0);
  for (LRESULT k = 1; k <= caret; ++k) {
    if (path.back() != '/') path += '/';
    path += item(dlg, lst2, k);
  }
  if (path.back() != '/') path += '/';
  return path;
}

UINT_PTR CALLBACK hook(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    hook_log.init_param = lp;
    hook_log.files_at_init = ui_test::control_items(dlg, lst1);
    SendDlgItemMessageA(dlg, 1046, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Evening"));
    return TRUE;
  }
  if (msg != WM_COMMAND) return FALSE;
  hook_log.commands.push_back({dlg, msg, wp, lp});
  bool add = (LOWORD(wp) == lst1 && HIWORD(wp) == LBN_DBLCLK) || LOWORD(wp) == 1036;
  if (add) {
    std::string name = item(dlg, lst1, SendDlgItemMessageA(dlg, lst1, LB_GETCARETINDEX, 0, 0));
    std::string path = folder_of_dialog(dlg) + name;
    if (!name.empty()) SendDlgItemMessageA(dlg, 1001, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return hook_log.answer;
  }
  if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
    PostMessageA(dlg, WM_COMMAND, IDABORT, 0);
    return TRUE;
  }
  return FALSE;
}

std::vector<WORD> codes_of(int id) {
  std::vector<WORD> out;
  for (const auto& c : hook_log.commands)
    if (LOWORD(c.wp) == id) out.push_back(HIWORD(c.wp));
  return out;
}

}  // namespace

class OldStyleOpenTest : public UiTest {
 protected:
  ui_resources::ResourceTables saved;
  TempHome home;
  char file[128] = "";
  OPENFILENAMEA ofn{};

  void SetUp() override {
    UiTest::SetUp();
    hook_log = HookLog{};
    saved = ui_resources::installed();
    ui_resources::ResourceTables tables = saved;
    tables.dialogs = kDialogs;
    tables.dialog_count = std::size(kDialogs);
    ui_resources::install(tables);
    for (const char* name : {"b.wav", "A.WAV", "tune.mid", "notes.txt", ".hidden.wav"})
      std::ofstream(home.file(name)) << "x";
    ::mkdir(home.file("live").c_str(), 0755);
    ::mkdir(home.file("Archive").c_str(), 0755);
    // Names in UTF-8 and in Latin-1: both must come back byte for byte.
    std::ofstream(home.file("live/encor\xC3\xA9.wav")) << "x";
    std::ofstream(home.file("live/\xE9t\xE9.wav")) << "x";
    ofn.lStructSize = 76;
    ofn.lpstrFilter = "Wave files\0*.wav\0MIDI and text\0*.mid;*.TXT\0All files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = home.path().c_str();
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
    ofn.lpTemplateName = MAKEINTRESOURCEA(1536);
    ofn.lpfnHook = hook;
  }
  void TearDown() override {
    ui_resources::install(saved);
    UiTest::TearDown();
  }
};

TEST_F(OldStyleOpenTest, TheHookSeesFilledListsAndWorksTheTemplateBesideThem) {
  std::vector<std::string> files, folders, filtered, template_combo;
  std::string folder, added;
  LRESULT folder_caret = -1;
  ui_test::on_dialog([&](HWND dlg) {
    files = ui_test::control_items(dlg, lst1);
    folders = ui_test::control_items(dlg, lst2);
    folder_caret = SendDlgItemMessageA(dlg, lst2, LB_GETCARETINDEX, 0, 0);
    folder = ui_test::control_text(dlg, stc1);
    template_combo = ui_test::control_items(dlg, 1046);
    // A double-click on a file goes to the hook, which adds it; the dialog stays.
    ui_test::double_click_item(dlg, lst1, 1);
    // Enter in the file list is the same; the Add button of the template too.
    ui_test::select_item(dlg, lst1, 0);
    ui_test::key_in(dlg, lst1, VK_RETURN);
    ui_test::click_control(dlg, 1036);
    added = ui_test::control_items(dlg, 1001).front();
    // Another filter shows only its files (patterns without regard to case).
    ui_test::select_item(dlg, cmb1, 1);
    filtered = ui_test::control_items(dlg, lst1);
    ui_test::click_control(dlg, IDCANCEL);  // the hook posts IDABORT
  });
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(hook_log.init_param, reinterpret_cast<LPARAM>(&ofn));
  EXPECT_EQ(hook_log.files_at_init, (std::vector<std::string>{"A.WAV", "b.wav"}));
  EXPECT_EQ(files, (std::vector<std::string>{"A.WAV", "b.wav"}));
  EXPECT_EQ(folder, home.path());
  ASSERT_GE(folders.size(), 3u);
  EXPECT_EQ(folders.front(), "/");
  EXPECT_EQ(std::vector<std::string>(folders.end() - 2, folders.end()), (std::vector<std::string>{"Archive", "live"}));
  EXPECT_EQ(folder_caret, static_cast<LRESULT>(folders.size()) - 3);
  EXPECT_EQ(template_combo, std::vector<std::string>{"Evening"});
  EXPECT_EQ(added, home.file("b.wav"));
  EXPECT_EQ(codes_of(lst1), (std::vector<WORD>{LBN_SELCHANGE, LBN_DBLCLK, LBN_SELCHANGE, LBN_DBLCLK}));
  EXPECT_EQ(codes_of(1036), std::vector<WORD>{BN_CLICKED});
  EXPECT_EQ(filtered, (std::vector<std::string>{"notes.txt", "tune.mid"}));
  EXPECT_EQ(ofn.nFilterIndex, 2u);
  EXPECT_STREQ(file, "");
}

TEST_F(OldStyleOpenTest, FoldersOpenByDoubleClickOrEnterAndTheHooksDirectoryFollows) {
  std::string inside, back, hooks_folder, after_browsing;
  std::vector<std::string> inside_files;
  ui_test::on_dialog([&](HWND dlg) {
    auto folders = ui_test::control_items(dlg, lst2);
    int live = static_cast<int>(std::find(folders.begin(), folders.end(), "live") - folders.begin());
    // Browsing the folder list without opening: once the user acts elsewhere
    // the caret is back on the folder shown.
    SetFocus(GetDlgItem(dlg, lst2));
    ui_test::select_item(dlg, lst2, live);
    SetFocus(GetDlgItem(dlg, lst1));
    after_browsing = folder_of_dialog(dlg);
    ui_test::double_click_item(dlg, lst2, live);
    inside = ui_test::control_text(dlg, stc1);
    inside_files = ui_test::control_items(dlg, lst1);
    hooks_folder = folder_of_dialog(dlg);
    // Backspace goes up; Enter on a folder of the path opens it.
    ui_test::key_in(dlg, lst1, VK_BACK);
    back = ui_test::control_text(dlg, stc1);
    ui_test::select_item(dlg, lst2, 0);
    ui_test::key_in(dlg, lst2, VK_RETURN);
    EXPECT_EQ(ui_test::control_text(dlg, stc1), "/");
    PostMessageA(dlg, WM_COMMAND, IDABORT, 0);
  });
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(after_browsing, home.path() + "/");
  EXPECT_EQ(inside, home.file("live"));
  EXPECT_EQ(inside_files, (std::vector<std::string>{"encor\xC3\xA9.wav", "\xE9t\xE9.wav"}));
  EXPECT_EQ(hooks_folder, home.file("live") + "/");
  EXPECT_EQ(back, home.path());
  EXPECT_TRUE(codes_of(IDOK).empty());  // Enter in a list is not the template's OK
}

TEST_F(OldStyleOpenTest, ADoubleClickTheHookLeavesEndsTheDialogWithThatFile) {
  hook_log.answer = FALSE;
  ofn.Flags &= ~OFN_ENABLETEMPLATE;  // the dialog's own OK and Cancel then
  ui_test::on_dialog([](HWND dlg) {
    EXPECT_NE(GetDlgItem(dlg, IDOK), nullptr);
    ui_test::double_click_item(dlg, lst1, 0);
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(std::string(file), home.file("A.WAV"));
  EXPECT_STREQ(file + ofn.nFileOffset, "A.WAV");
  // A path longer than the buffer is refused inside the dialog, never cut.
  char small[8] = "";
  ofn.lpstrFile = small;
  ofn.nMaxFile = sizeof small;
  ui_test::script_ui();
  ui_test::on_dialog([](HWND dlg) {
    ui_test::double_click_item(dlg, lst1, 0);
    EXPECT_EQ(ui_test::boxes().size(), 1u);
    ui_test::click_control(dlg, IDCANCEL);
  });
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  EXPECT_STREQ(small, "");
}
