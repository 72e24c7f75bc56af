// Window creation and destruction, default handling, geometry and input.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cstring>

#include "ui_fixture.h"

using WindowsTest = UiTest;

TEST_F(WindowsTest, CreationSendsWmCreateAndFailsWhenItReturnsMinusOne) {
  HWND hwnd = make_window();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0].msg, WM_CREATE);
  EXPECT_EQ(log[0].hwnd, hwnd);

  handler = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m != WM_CREATE) return false;
    r = -1;
    return true;
  };
  log.clear();
  HWND failed = CreateWindowExA(0, kTestClass, "Failing", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                nullptr);
  EXPECT_EQ(failed, nullptr);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_FALSE(IsWindow(log[0].hwnd));
  EXPECT_EQ(log[1].msg, WM_DESTROY);  // as Win32 destroys the half-made window
  EXPECT_EQ(FindWindowA(kTestClass, "Failing"), nullptr);
  EXPECT_EQ(FindWindowA(kTestClass, "Test"), hwnd);
}

TEST_F(WindowsTest, UnknownClassesAndParentlessChildrenAreRefused) {
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = UiTest::proc;
  wc.lpszClassName = kTestClass;
  EXPECT_EQ(RegisterClassA(&wc), 0);  // already registered
  make_window();
  EXPECT_FALSE(UnregisterClassA(kTestClass, nullptr));  // still in use
}

TEST_F(WindowsTest, AltF4ClosesThroughWmCloseAndAltSpaceDoesNothing) {
  HWND hwnd = make_window();
  ShowWindow(hwnd, SW_SHOW);
  ui_test::key(hwnd, VK_SPACE, true);
  EXPECT_TRUE(IsWindow(hwnd));
  auto sys = seen(WM_SYSKEYDOWN);
  ASSERT_EQ(sys.size(), 1u);
  EXPECT_EQ(sys[0].wp, VK_SPACE);
  EXPECT_TRUE(sys[0].lp & (LPARAM(1) << 29));

  ui_test::key(hwnd, VK_F4, true);
  EXPECT_EQ(seen(WM_SYSKEYDOWN).back().wp, 115u);
  ASSERT_EQ(seen(WM_SYSCOMMAND).size(), 1u);
  EXPECT_EQ(seen(WM_SYSCOMMAND)[0].wp, SC_CLOSE);
  EXPECT_EQ(seen(WM_CLOSE).size(), 1u);
  EXPECT_EQ(seen(WM_DESTROY).size(), 1u);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowsTest, AWindowThatKeepsWmCloseStays) {
  HWND hwnd = make_window();
  handler = [](HWND, UINT m, WPARAM, LPARAM, LRESULT&) { return m == WM_CLOSE; };
  ShowWindow(hwnd, SW_SHOW);
  ui_test::key(hwnd, VK_F4, true);
  EXPECT_EQ(seen(WM_CLOSE).size(), 1u);
  EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(WindowsTest, DestroyingAParentDestroysItsChildrenAfterIt) {
  HWND hwnd = make_window();
  HWND child = CreateWindowExA(0, kTestClass, "", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, hwnd,
                               reinterpret_cast<HMENU>(std::uintptr_t{7}), nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetDlgItem(hwnd, 7), child);
  EXPECT_EQ(GetParent(child), hwnd);
  log.clear();
  DestroyWindow(hwnd);
  auto destroys = seen(WM_DESTROY);
  ASSERT_EQ(destroys.size(), 2u);
  EXPECT_EQ(destroys[0].hwnd, hwnd);
  EXPECT_EQ(destroys[1].hwnd, child);
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowsTest, ABorderedWindowHasItsClientAreaInsideTheBorder) {
  HWND hwnd = make_window(579, 402);
  RECT rc;
  ASSERT_TRUE(GetClientRect(hwnd, &rc));
  EXPECT_EQ(rc.right, 577);
  EXPECT_EQ(rc.bottom, 400);
  POINT p{0, 0};
  ClientToScreen(hwnd, &p);
  EXPECT_EQ(p.x, 11);
  EXPECT_EQ(p.y, 21);
  RECT wr;
  GetWindowRect(hwnd, &wr);
  EXPECT_EQ(wr.right - wr.left, 579);
  EXPECT_EQ(wr.bottom - wr.top, 402);

  SetWindowPos(hwnd, nullptr, 0, 0, 579, 113, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(hwnd, &rc);
  EXPECT_EQ(rc.bottom, 111);
  GetWindowRect(hwnd, &wr);
  EXPECT_EQ(wr.left, 10);
  EXPECT_EQ(wr.top, 20);
}

TEST_F(WindowsTest, ScreenMetricsComeFromThePrimaryScreen) {
  QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screen.width());
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), screen.height());
  RECT rc;
  GetClientRect(GetDesktopWindow(), &rc);
  EXPECT_EQ(rc.right, screen.width());
}

TEST_F(WindowsTest, MouseMessagesCarryClientCoordinates) {
  HWND hwnd = make_window();
  ShowWindow(hwnd, SW_SHOW);
  ui_test::move(hwnd, 56, 25);
  ui_test::double_click(hwnd, 30, 40);
  auto moves = seen(WM_MOUSEMOVE);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(LOWORD(moves[0].lp), 56);
  EXPECT_EQ(HIWORD(moves[0].lp), 25);
  auto downs = seen(WM_LBUTTONDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(LOWORD(downs[0].lp), 30);
  EXPECT_EQ(HIWORD(downs[0].lp), 40);
  EXPECT_EQ(seen(WM_LBUTTONDBLCLK).size(), 1u);  // the class asks for double clicks
}

TEST_F(WindowsTest, CaptionDragMovesTheWindowWithThePointer) {
  HWND hwnd = make_window();
  handler = [](HWND h, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
    if (m != WM_LBUTTONDOWN) return false;
    r = DefWindowProcA(h, WM_NCLBUTTONDOWN, HTCAPTION, lp);
    return true;
  };
  ShowWindow(hwnd, SW_SHOW);
  RECT before;
  GetWindowRect(hwnd, &before);
  ui_test::press(hwnd, 100, 50);
  ui_test::move(hwnd, 130, 90);
  ui_test::release(hwnd, 130, 90);
  RECT after;
  GetWindowRect(hwnd, &after);
  EXPECT_EQ(after.left - before.left, 30);
  EXPECT_EQ(after.top - before.top, 40);
  EXPECT_TRUE(seen(WM_MOUSEMOVE).empty());  // the move is not the program's
  ui_test::move(hwnd, 10, 10);              // button up: no more dragging
  RECT later;
  GetWindowRect(hwnd, &later);
  EXPECT_EQ(later.left, after.left);
}

TEST_F(WindowsTest, TextFocusAndClassCursor) {
  HWND hwnd = make_window();
  EXPECT_TRUE(SetWindowTextA(hwnd, "Vantorel"));
  char text[4];
  EXPECT_EQ(GetWindowTextA(hwnd, text, sizeof text), 3);
  EXPECT_STREQ(text, "Van");
  EXPECT_EQ(FindWindowA(kTestClass, "Vantorel"), hwnd);

  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(275));
  ASSERT_NE(hand, nullptr);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  EXPECT_EQ(SetClassLongA(hwnd, GCL_HCURSOR, static_cast<LONG>(reinterpret_cast<std::uintptr_t>(hand))),
            static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(arrow)));
  bool found = false;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == "Vantorel") found = w->cursor().shape() == Qt::PointingHandCursor;
  EXPECT_TRUE(found);
  EXPECT_TRUE(DestroyCursor(hand));
}

TEST_F(WindowsTest, MinimiseAndShow) {
  HWND hwnd = make_window();
  EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWNORMAL));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  ShowWindow(hwnd, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(hwnd));
}

TEST_F(WindowsTest, ClosingTheWindowFromOutsideAsksTheProcedure) {
  HWND hwnd = make_window();
  SetWindowTextA(hwnd, "Closable");
  ShowWindow(hwnd, SW_SHOW);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == "Closable") w->close();
  EXPECT_EQ(seen(WM_CLOSE).size(), 1u);
  EXPECT_FALSE(IsWindow(hwnd));  // DefWindowProcA destroyed it
}

TEST_F(WindowsTest, SettingTheFocusOnTheWindowSendsWmSetFocus) {
  HWND hwnd = make_window();
  ShowWindow(hwnd, SW_SHOW);
  ui_test::pump(10);
  log.clear();
  SetFocus(hwnd);
  EXPECT_EQ(GetFocus(), hwnd);
  EXPECT_GE(seen(WM_SETFOCUS).size(), 1u);
}

TEST(GlobalMemory, MovableBlocksGrowKeepTheirBytesAndRefuseToMoveWhileLocked) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(h, nullptr);
  auto* p = static_cast<char*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[3], 0);
  std::memcpy(p, "abc", 4);
  EXPECT_EQ(GlobalReAlloc(h, 64, GMEM_MOVEABLE), nullptr);  // locked
  GlobalUnlock(h);
  EXPECT_EQ(GlobalReAlloc(h, 64, GMEM_MOVEABLE), h);
  EXPECT_EQ(GlobalSize(h), 64u);
  EXPECT_STREQ(static_cast<char*>(GlobalLock(h)), "abc");
  GlobalUnlock(h);
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalFree(h), h);
}
