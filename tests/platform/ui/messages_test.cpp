// Sent and posted messages, the message loop, and delivery inside modal loops.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <thread>

#include "ui_fixture.h"

namespace {

int run_loop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  EXPECT_EQ(msg.message, WM_QUIT);
  return static_cast<int>(msg.wParam);
}

// Closes the modal box once `done` holds (checked every 5 ms).
void close_modal_when(std::function<bool()> done) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, done] {
    if (!done()) return;
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    timer->stop();
    timer->deleteLater();
  });
  timer->start(5);
}

}  // namespace

using MessagesTest = UiTest;

TEST_F(MessagesTest, SendMessageNestsAndReturnsTheHandlersResult) {
  HWND hwnd = make_window();
  handler = [](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
    if (m == WM_USER) {
      r = SendMessageA(h, WM_USER + 1, wp + 1, 0) + 100;
      return true;
    }
    if (m == WM_USER + 1) {
      r = static_cast<LRESULT>(wp) * 2;
      return true;
    }
    return false;
  };
  EXPECT_EQ(SendMessageA(hwnd, WM_USER, 4, 0), 110);
  auto order = messages_of(hwnd);
  auto first = std::find(order.begin(), order.end(), WM_USER);
  ASSERT_NE(first, order.end());
  ASSERT_NE(first + 1, order.end());
  EXPECT_EQ(*(first + 1), WM_USER + 1);
  EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(std::uintptr_t{0x4242}), WM_USER, 0, 0), 0);
}

TEST_F(MessagesTest, MessagesPostedFromAnotherThreadArriveInOrder) {
  HWND hwnd = make_window();
  constexpr int kCount = 2000;
  std::thread poster([hwnd] {
    for (int i = 0; i < kCount; ++i) PostMessageA(hwnd, MM_MCINOTIFY, static_cast<WPARAM>(i), 0);
  });
  poster.join();
  ASSERT_TRUE(ui_test::pump_until([&] { return seen(MM_MCINOTIFY).size() == kCount; }, 3000));
  auto got = seen(MM_MCINOTIFY);
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(got[static_cast<size_t>(i)].wp, static_cast<WPARAM>(i));
}

TEST_F(MessagesTest, LoopDispatchesPostedMessagesThenReturnsTheQuitCode) {
  HWND hwnd = make_window();
  handler = [](HWND, UINT m, WPARAM wp, LPARAM, LRESULT&) {
    if (m == WM_USER && wp == 3) PostQuitMessage(7);
    return false;
  };
  for (WPARAM i = 1; i <= 3; ++i) PostMessageA(hwnd, WM_USER, i, 0);
  EXPECT_EQ(run_loop(), 7);
  auto got = seen(WM_USER);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].wp, 1u);
  EXPECT_EQ(got[2].wp, 3u);
}

TEST_F(MessagesTest, MessagesPostedBeforeTheQuitAreStillRetrieved) {
  HWND hwnd = make_window();
  PostMessageA(hwnd, WM_USER, 1, 0);
  PostMessageA(hwnd, WM_USER, 2, 0);
  PostQuitMessage(3);
  EXPECT_EQ(run_loop(), 3);
  EXPECT_EQ(seen(WM_USER).size(), 2u);
}

TEST_F(MessagesTest, PostedMessagesReachTheWindowInsideAModalLoop) {
  HWND hwnd = make_window();
  std::thread poster;
  bool box_returned = false;
  handler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_USER) {
      poster = std::thread([h] {
        for (WPARAM i = 0; i < 50; ++i) PostMessageA(h, MM_MCINOTIFY, i, 0);
      });
      close_modal_when([this] { return seen(MM_MCINOTIFY).size() == 50; });
      MessageBoxA(h, "waiting", "Modal", MB_OK);  // a real modal loop
      box_returned = true;
      PostQuitMessage(0);
    }
    return false;
  };
  PostMessageA(hwnd, WM_USER, 0, 0);
  run_loop();
  poster.join();
  EXPECT_TRUE(box_returned);
  ASSERT_EQ(seen(MM_MCINOTIFY).size(), 50u);
  EXPECT_EQ(seen(MM_MCINOTIFY).back().wp, 49u);
}

TEST_F(MessagesTest, MessagesForADestroyedWindowAreDropped) {
  HWND hwnd = make_window();
  PostMessageA(hwnd, WM_USER, 0, 0);
  DestroyWindow(hwnd);
  EXPECT_FALSE(IsWindow(hwnd));
  log.clear();
  ui_test::pump(10);
  EXPECT_TRUE(seen(WM_USER).empty());
}

TEST_F(MessagesTest, KeysPassTheAcceleratorTableInTheProgramsLoop) {
  HWND hwnd = make_window();
  ShowWindow(hwnd, SW_SHOW);
  HACCEL accel = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(269));
  ASSERT_NE(accel, nullptr);
  handler = [](HWND, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_COMMAND) PostQuitMessage(0);
    return false;
  };
  QTimer::singleShot(0, [hwnd] { ui_test::key(hwnd, '2', false, true); });
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorA(hwnd, accel, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  auto commands = seen(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wp), 7026);
  EXPECT_EQ(HIWORD(commands[0].wp), 1);  // from an accelerator
  EXPECT_TRUE(seen(WM_KEYDOWN).empty());  // consumed by the table
}

TEST_F(MessagesTest, SendMessageFromAnotherThreadRunsOnTheGuiThread) {
  HWND hwnd = make_window();
  std::thread::id handled_on;
  handler = [&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT& r) {
    if (m != WM_USER) return false;
    handled_on = std::this_thread::get_id();
    r = static_cast<LRESULT>(wp) + 1;
    return true;
  };
  LRESULT result = 0;
  std::thread sender([&] { result = SendMessageA(hwnd, WM_USER, 41, 0); });
  ASSERT_TRUE(ui_test::pump_until([&] { return result != 0; }, 2000));
  sender.join();
  EXPECT_EQ(result, 42);
  EXPECT_EQ(handled_on, std::this_thread::get_id());
}

TEST_F(MessagesTest, InputWaitsForTheProgramsLoopAndKeepsItsOrder) {
  HWND hwnd = make_window();
  ShowWindow(hwnd, SW_SHOW);
  PostMessageA(hwnd, WM_USER, 0, 0);
  QTimer::singleShot(0, [hwnd] {
    ui_test::click(hwnd, 20, 30);
    PostMessageA(hwnd, WM_USER, 1, 0);
    PostQuitMessage(0);
  });
  std::vector<UINT> retrieved;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    retrieved.push_back(msg.message);
    DispatchMessageA(&msg);
  }
  std::vector<UINT> expected{WM_USER, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_USER};
  EXPECT_EQ(retrieved, expected);
}

TEST_F(MessagesTest, AMessageLoopRunFromAHandlerGetsTheMessagesWhileItRuns) {
  HWND hwnd = make_window();
  std::vector<WPARAM> inner_loop_got;
  handler = [&](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT&) {
    if (m == WM_USER && wp == 0) {
      QTimer::singleShot(0, [h] {
        PostMessageA(h, WM_USER, 1, 0);
        PostMessageA(h, WM_USER, 2, 0);
      });
      QTimer::singleShot(20, [] { PostQuitMessage(5); });
      MSG msg;
      while (GetMessageA(&msg, nullptr, 0, 0)) {
        inner_loop_got.push_back(msg.wParam);
        DispatchMessageA(&msg);
      }
      EXPECT_EQ(msg.wParam, 5u);
      PostQuitMessage(0);
    }
    return false;
  };
  PostMessageA(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(run_loop(), 0);
  EXPECT_EQ(inner_loop_got, (std::vector<WPARAM>{1, 2}));
}
