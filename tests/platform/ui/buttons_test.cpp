// Owner-drawn buttons: the WM_DRAWITEM requests of press, release, drag-off
// and focus loss, clicks as WM_COMMAND, and their pixels on the parent.
#include <QTimer>

#include "ui_fixture.h"

namespace {

struct Draw {
  UINT type, id, action, state;
  HWND item;
  RECT rc;
};

constexpr COLORREF kFace = RGB(0, 0, 200);
constexpr COLORREF kUp = RGB(0, 200, 0);
constexpr COLORREF kDown = RGB(200, 0, 0);

}  // namespace

class ButtonsTest : public UiTest {
 protected:
  std::vector<Draw> draws;
  HWND main = nullptr;
  HWND button = nullptr;

  void SetUp() override {
    UiTest::SetUp();
    handler = [this](HWND h, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
      if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all{0, 0, 577, 400};
        HBRUSH face = CreateSolidBrush(kFace);
        FillRect(dc, &all, face);
        DeleteObject(face);
        EndPaint(h, &ps);
        return true;
      }
      if (m == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        draws.push_back({dis->CtlType, dis->CtlID, dis->itemAction, dis->itemState, dis->hwndItem, dis->rcItem});
        bool down = dis->itemAction == ODA_SELECT && (dis->itemState & ODS_SELECTED);
        HBRUSH b = CreateSolidBrush(down ? kDown : kUp);
        FillRect(dis->hDC, &dis->rcItem, b);
        DeleteObject(b);
        r = 1;
        return true;
      }
      return false;
    };
    main = make_window();
    button = make_button(main, 8001, 100, 50, 40, 20);
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    ui_test::pump(20);
    draws.clear();
  }

  std::vector<Draw> selects() const {
    std::vector<Draw> out;
    for (const auto& d : draws)
      if (d.action == ODA_SELECT) out.push_back(d);
    return out;
  }
};

TEST_F(ButtonsTest, FirstPaintDrawsTheFaceThenTheButton) {
  EXPECT_EQ(ui_test::pixel(main, 5, 5), kFace);
  EXPECT_EQ(ui_test::pixel(main, 100, 50), kUp);
  EXPECT_EQ(ui_test::pixel(main, 139, 69), kUp);
  EXPECT_EQ(ui_test::pixel(main, 140, 70), kFace);
  EXPECT_EQ(ui_test::pixel(button, 0, 0), kUp);
}

TEST_F(ButtonsTest, PressAndReleaseInsideDrawBothFacesAndSendTheCommand) {
  ui_test::press(button, 10, 10);
  ASSERT_EQ(selects().size(), 1u);
  Draw d = selects()[0];
  EXPECT_EQ(d.type, ODT_BUTTON);
  EXPECT_EQ(d.id, 8001u);
  EXPECT_EQ(d.item, button);
  EXPECT_TRUE(d.state & ODS_SELECTED);
  EXPECT_EQ(d.rc.right - d.rc.left, 40);
  EXPECT_EQ(d.rc.bottom - d.rc.top, 20);
  EXPECT_EQ(ui_test::pixel(main, 110, 60), kDown);
  EXPECT_TRUE(seen(WM_COMMAND).empty());

  ui_test::release(button, 10, 10);
  ASSERT_EQ(selects().size(), 2u);
  EXPECT_FALSE(selects()[1].state & ODS_SELECTED);
  EXPECT_EQ(ui_test::pixel(main, 110, 60), kUp);
  auto commands = seen(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].hwnd, main);
  EXPECT_EQ(LOWORD(commands[0].wp), 8001);
  EXPECT_EQ(HIWORD(commands[0].wp), BN_CLICKED);
  EXPECT_EQ(commands[0].lp, reinterpret_cast<LPARAM>(button));
}

TEST_F(ButtonsTest, DraggingOffReleasesAndReleasingOutsideDoesNotClick) {
  ui_test::press(button, 10, 10);
  ui_test::move(button, 60, 10);  // off the button
  ui_test::move(button, 12, 10);  // back on
  ui_test::move(button, -20, 10);
  ui_test::release(button, -20, 10);
  auto s = selects();
  ASSERT_EQ(s.size(), 4u);
  EXPECT_TRUE(s[0].state & ODS_SELECTED);
  EXPECT_FALSE(s[1].state & ODS_SELECTED);
  EXPECT_TRUE(s[2].state & ODS_SELECTED);
  EXPECT_FALSE(s[3].state & ODS_SELECTED);
  EXPECT_TRUE(seen(WM_COMMAND).empty());
}

TEST_F(ButtonsTest, LosingTheFocusWhileHeldIsAFocusChangeAndNoClick) {
  HWND other = make_button(main, 8002, 200, 50, 40, 20);
  ui_test::pump(10);
  ui_test::press(button, 10, 10);
  ASSERT_EQ(GetFocus(), button);
  draws.clear();
  SetFocus(other);
  std::vector<Draw> of_button;
  for (const auto& d : draws)
    if (d.item == button) of_button.push_back(d);
  ASSERT_EQ(of_button.size(), 1u);
  EXPECT_EQ(of_button[0].action, static_cast<UINT>(ODA_FOCUS));
  EXPECT_FALSE(of_button[0].state & (ODS_SELECTED | ODS_FOCUS));
  EXPECT_EQ(ui_test::pixel(main, 110, 60), kUp);
  ui_test::release(button, 10, 10);
  EXPECT_TRUE(seen(WM_COMMAND).empty());
}

TEST_F(ButtonsTest, ASecondQuickClickIsADoubleClickNotification) {
  ui_test::double_click(button, 5, 5);
  auto commands = seen(WM_COMMAND);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(HIWORD(commands[0].wp), BN_CLICKED);
  EXPECT_EQ(HIWORD(commands[1].wp), BN_DOUBLECLICKED);
  EXPECT_EQ(LOWORD(commands[1].wp), 8001);
}

TEST_F(ButtonsTest, MovingAndDestroyingButtonsRepaintsTheFaceBehindThem) {
  SetWindowPos(button, nullptr, 300, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(ui_test::pixel(main, 110, 60), kFace);
  EXPECT_EQ(ui_test::pixel(main, 310, 70), kUp);
  EXPECT_EQ(GetDlgItem(main, 8001), button);
  DestroyWindow(button);
  EXPECT_EQ(ui_test::pixel(main, 310, 70), kFace);
  EXPECT_EQ(GetDlgItem(main, 8001), nullptr);
}

TEST_F(ButtonsTest, TabIsAKeyForTheFocusedButtonNotAFocusMove) {
  HWND other = make_button(main, 8002, 200, 50, 40, 20);
  ui_test::click(button, 5, 5);
  ASSERT_EQ(GetFocus(), button);
  QTimer::singleShot(0, [this] {
    ui_test::key(button, VK_TAB);
    PostQuitMessage(0);
  });
  std::vector<MSG> retrieved;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    retrieved.push_back(msg);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(GetFocus(), button);
  EXPECT_NE(GetFocus(), other);
  ASSERT_EQ(retrieved.size(), 2u);  // down and up, both for the button
  EXPECT_EQ(retrieved[0].message, WM_KEYDOWN);
  EXPECT_EQ(retrieved[0].hwnd, button);
  EXPECT_EQ(retrieved[0].wParam, VK_TAB);
}

TEST_F(ButtonsTest, ThePointerOverAButtonIsNotTheParentsMouse) {
  ui_test::move(button, 5, 5);
  ui_test::move(main, 5, 5);
  EXPECT_EQ(seen(WM_MOUSEMOVE).size(), 1u);  // only the move over the face
  EXPECT_EQ(LOWORD(seen(WM_MOUSEMOVE)[0].lp), 5);
}
