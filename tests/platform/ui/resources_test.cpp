// Resource tables (menus, strings, accelerators, cursors, bitmap folders),
// scripted message boxes and menus, and the trace file.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/trace.h"
#include "platform/ui/resources.h"
#include "support/temp_home.h"
#include "ui_fixture.h"

namespace {

std::vector<std::string> read_lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

using ResourcesTest = UiTest;

TEST_F(ResourcesTest, ScriptedMessageBoxesAnswerAndAreRecorded) {
  HWND hwnd = make_window();
  ui_test::answer_box(IDNO);
  EXPECT_EQ(MessageBoxA(hwnd, "Save the recording?", "Quorvin", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Mixer device can not be opened. Program terminated.", nullptr, MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "Retry?", "Quorvin", MB_YESNO), IDYES);  // first button when nothing is queued
  const auto& boxes = ui_test::boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].owner, hwnd);
  EXPECT_EQ(boxes[0].caption, "Quorvin");
  EXPECT_EQ(boxes[0].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(boxes[1].caption, "Error");  // the platform's default caption
  EXPECT_EQ(boxes[1].text, "Mixer device can not be opened. Program terminated.");
  EXPECT_EQ(boxes[1].owner, nullptr);
}

TEST_F(ResourcesTest, TheTraceFileGetsOneLinePerBoxAndWholeLinesFromThreads) {
  TempHome home;
  std::string path = home.file("trace.txt");
  setenv("QUORVIN_TRACE", path.c_str(), 1);
  ui_test::script_ui();
  MessageBoxA(nullptr, "Audio CD not ready or not present.", "MCI Error", MB_OK);
  MessageBoxA(nullptr, "two\nlines", nullptr, MB_OK);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 100; ++i) trace_line("mci \"status cdaudio mode\" " + std::to_string(t));
    });
  for (auto& th : threads) th.join();
  unsetenv("QUORVIN_TRACE");
  MessageBoxA(nullptr, "not traced", "X", MB_OK);
  auto lines = read_lines(path);
  ASSERT_EQ(lines.size(), 402u);
  EXPECT_EQ(lines[0], "box \"MCI Error\" \"Audio CD not ready or not present.\"");
  EXPECT_EQ(lines[1], "box \"Error\" \"two\\nlines\"");
  for (size_t i = 2; i < lines.size(); ++i) ASSERT_EQ(lines[i].rfind("mci \"status cdaudio mode\" ", 0), 0u);
}

TEST_F(ResourcesTest, PopupMenusShowCheckMarksAndPostTheChosenCommand) {
  HWND hwnd = make_window();
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(186));
  ASSERT_NE(menu, nullptr);
  HMENU tape1 = GetSubMenu(menu, 0);
  HMENU tape2 = GetSubMenu(menu, 1);
  ASSERT_NE(tape1, nullptr);
  ASSERT_NE(tape2, nullptr);
  EXPECT_EQ(CheckMenuItem(tape1, 108, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(tape1, 110, MF_BYCOMMAND | MF_UNCHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(tape1, 999, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));
  EnableMenuItem(tape1, 104, MF_BYCOMMAND | MF_GRAYED);

  ui_test::choose_menu_item(108);
  POINT at{172, 205};
  ClientToScreen(hwnd, &at);
  EXPECT_TRUE(TrackPopupMenu(tape1, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr));
  EXPECT_TRUE(seen(WM_COMMAND).empty());  // posted, as Win32 does
  ui_test::pump(10);
  auto commands = seen(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wp, 108u);

  ASSERT_EQ(ui_test::menus().size(), 1u);
  const auto& shown = ui_test::menus()[0];
  EXPECT_EQ(shown.owner, hwnd);
  EXPECT_EQ(shown.x, at.x);
  EXPECT_EQ(shown.flags, TPM_RIGHTALIGN | TPM_RIGHTBUTTON);
  auto item = [&](UINT id) {
    for (const auto& i : shown.items)
      if (i.id == id && !i.separator) return i;
    ADD_FAILURE() << "no item " << id;
    return ui_test::ShownMenuItem{};
  };
  EXPECT_EQ(item(103).text, "&Open...");
  EXPECT_TRUE(item(108).checked);
  EXPECT_FALSE(item(110).checked);
  EXPECT_TRUE(item(104).grayed);

  // Dismissed: no command.
  log.clear();
  TrackPopupMenu(tape2, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr);
  ui_test::pump(10);
  EXPECT_TRUE(seen(WM_COMMAND).empty());
  EXPECT_EQ(ui_test::menus().size(), 2u);

  EXPECT_FALSE(DestroyMenu(tape1));  // owned by its menu
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_EQ(GetMenuItemCount(tape1), -1);
  EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(999)), nullptr);
}

TEST_F(ResourcesTest, MidiMenuAndReturnCmd) {
  HWND hwnd = make_window();
  HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(230));
  HMENU midi = GetSubMenu(menu, 0);
  ASSERT_NE(midi, nullptr);
  EXPECT_EQ(GetMenuItemID(midi, 0), 112u);
  ui_test::choose_menu_item(121);
  EXPECT_EQ(TrackPopupMenu(midi, TPM_RETURNCMD, 0, 0, 0, hwnd, nullptr), 121);
  ui_test::pump(5);
  EXPECT_TRUE(seen(WM_COMMAND).empty());
  DestroyMenu(menu);
}

TEST_F(ResourcesTest, StringsAreCutToTheBuffer) {
  char buffer[164];
  int n = LoadStringA(nullptr, 1001, buffer, sizeof buffer);
  EXPECT_GT(n, 0);
  EXPECT_EQ(buffer[n - 1], '|');
  EXPECT_NE(std::string(buffer).find("*.wav"), std::string::npos);
  char small[5];
  EXPECT_EQ(LoadStringA(nullptr, 1002, small, sizeof small), 4);
  EXPECT_STREQ(small, "MIDI");
  EXPECT_EQ(LoadStringA(nullptr, 4242, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
}

TEST_F(ResourcesTest, BitmapsComeFromAddedFoldersByNameOrNumber) {
  TempHome home;
  QImage face(577, 110, QImage::Format_RGB32);
  face.fill(qRgb(9, 8, 7));
  ASSERT_TRUE(face.save(QString::fromStdString(home.file("MIDIBMP.png"))));
  QImage glyph(21, 16, QImage::Format_RGB32);
  glyph.fill(qRgb(1, 1, 1));
  ASSERT_TRUE(glyph.save(QString::fromStdString(home.file("113.png"))));
  ui_resources::add_bitmap_folder(home.path());
  BITMAP info;
  HBITMAP a = LoadBitmapA(nullptr, "MIDIBMP");
  ASSERT_NE(a, nullptr);
  GetObjectA(a, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 577);
  HBITMAP b = LoadBitmapA(nullptr, MAKEINTRESOURCEA(113));
  ASSERT_NE(b, nullptr);
  GetObjectA(b, sizeof info, &info);
  EXPECT_EQ(info.bmHeight, 16);
  DeleteObject(a);
  DeleteObject(b);
  ui_resources::forget_bitmaps();
  EXPECT_EQ(LoadBitmapA(nullptr, "MIDIBMP"), nullptr);
}

TEST_F(ResourcesTest, CursorsAndAccelerators) {
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), LoadCursorA(nullptr, IDC_ARROW));
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(275));
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(275)), nullptr);  // not a system cursor
  EXPECT_NE(hand, nullptr);
  EXPECT_TRUE(DestroyCursor(hand));
  EXPECT_FALSE(DestroyCursor(hand));
  EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  HACCEL accel = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(269));
  ASSERT_NE(accel, nullptr);
  HWND hwnd = make_window();
  MSG plain{hwnd, WM_KEYDOWN, '1', 0, 0, {0, 0}};
  EXPECT_EQ(TranslateAcceleratorA(hwnd, accel, &plain), 0);  // needs Ctrl
}

TEST_F(ResourcesTest, ARealPopupMenuIsRightAlignedAndReportsTheClickedItem) {
  HWND hwnd = make_window();
  ShowWindow(hwnd, SW_SHOW);
  HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(186));
  HMENU tape1 = GetSubMenu(menu, 0);
  CheckMenuItem(tape1, 110, MF_BYCOMMAND | MF_CHECKED);
  QRect shown_at;
  bool checked = false;
  QTimer::singleShot(50, [&] {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!popup) return;
    shown_at = popup->geometry();
    for (QAction* a : popup->actions()) {
      if (a->data().toUInt() == 110) checked = a->isChecked();
      if (a->data().toUInt() != 108) continue;
      QPoint c = popup->actionGeometry(a).center();
      QMouseEvent press(QEvent::MouseButtonPress, c, popup->mapToGlobal(c), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QApplication::sendEvent(popup, &press);
      QMouseEvent release(QEvent::MouseButtonRelease, c, popup->mapToGlobal(c), Qt::LeftButton, Qt::NoButton,
                          Qt::NoModifier);
      QApplication::sendEvent(popup, &release);
    }
  });
  EXPECT_TRUE(TrackPopupMenu(tape1, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, 400, 300, 0, hwnd, nullptr));
  ui_test::pump(10);
  auto commands = seen(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wp, 108u);
  EXPECT_TRUE(checked);
  EXPECT_EQ(shown_at.right() + 1, 400);
  EXPECT_EQ(shown_at.top(), 300);
  DestroyMenu(menu);
}

TEST_F(ResourcesTest, ACursorTakesTheFirstSourceThatExists) {
  static constexpr ui_resources::CursorResource kCursors[] = {
      {1, ":/nowhere/none.png|cross", 0, 0},
      {2, ":/nowhere/none.png", 0, 0},
  };
  ui_resources::ResourceTables saved = ui_resources::installed();
  ui_resources::ResourceTables t = saved;
  t.cursors = kCursors;
  t.cursor_count = std::size(kCursors);
  ui_resources::install(t);
  HWND hwnd = make_window();
  HCURSOR cross = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2)), nullptr);
  ui_resources::install(saved);
  ASSERT_NE(cross, nullptr);
  SetClassLongPtrA(hwnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cross));
  bool found = false;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == "Test" && w->cursor().shape() == Qt::CrossCursor) found = true;
  EXPECT_TRUE(found);
}
