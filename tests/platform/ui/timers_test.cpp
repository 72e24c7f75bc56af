// SetTimer/KillTimer: timer procedures, WM_TIMER, and ticks inside modal loops.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "ui_fixture.h"

namespace {

struct Tick {
  HWND hwnd;
  UINT msg;
  UINT_PTR id;
};
std::vector<Tick> ticks;

void CALLBACK on_tick(HWND hwnd, UINT msg, UINT_PTR id, DWORD) { ticks.push_back({hwnd, msg, id}); }

}  // namespace

class TimersTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ticks.clear();
  }
};

TEST_F(TimersTest, ATimerProcedureIsCalledInsteadOfTheWindowProcedure) {
  HWND hwnd = make_window();
  EXPECT_EQ(SetTimer(hwnd, 100, 20, on_tick), 100u);
  ASSERT_TRUE(ui_test::pump_until([] { return ticks.size() >= 3; }, 2000));
  EXPECT_EQ(ticks[0].hwnd, hwnd);
  EXPECT_EQ(ticks[0].msg, WM_TIMER);
  EXPECT_EQ(ticks[0].id, 100u);
  EXPECT_TRUE(seen(WM_TIMER).empty());
  EXPECT_TRUE(KillTimer(hwnd, 100));
}

TEST_F(TimersTest, WithoutAProcedureTheWindowGetsWmTimer) {
  HWND hwnd = make_window();
  SetTimer(hwnd, 101, 15, nullptr);
  ASSERT_TRUE(ui_test::pump_until([&] { return seen(WM_TIMER).size() >= 2; }, 2000));
  EXPECT_EQ(seen(WM_TIMER)[0].wp, 101u);
  EXPECT_EQ(seen(WM_TIMER)[0].lp, 0);
  EXPECT_TRUE(ticks.empty());
  KillTimer(hwnd, 101);
}

TEST_F(TimersTest, KilledTimersAndTimersOfDestroyedWindowsStop) {
  HWND hwnd = make_window();
  HWND other = make_window();
  SetTimer(hwnd, 1, 10, on_tick);
  SetTimer(other, 2, 10, on_tick);
  EXPECT_TRUE(KillTimer(hwnd, 1));
  EXPECT_FALSE(KillTimer(hwnd, 1));
  DestroyWindow(other);
  ui_test::pump(60);
  EXPECT_TRUE(ticks.empty());
  EXPECT_EQ(SetTimer(other, 3, 10, on_tick), 0u);  // no such window
}

TEST_F(TimersTest, ATimerKilledInsideItsOwnTickTicksNoMore) {
  HWND hwnd = make_window();
  static int calls = 0;
  calls = 0;
  SetTimer(hwnd, 5, 10, [](HWND h, UINT, UINT_PTR id, DWORD) {
    ++calls;
    KillTimer(h, id);
  });
  ASSERT_TRUE(ui_test::pump_until([] { return calls >= 1; }, 2000));
  ui_test::pump(60);
  EXPECT_EQ(calls, 1);
}

TEST_F(TimersTest, TimersKeepTickingInsideAModalLoop) {
  HWND hwnd = make_window();
  SetTimer(hwnd, 100, 10, on_tick);
  size_t ticks_in_box = 0;
  handler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m != WM_USER) return false;
    size_t before = ticks.size();
    auto* closer = new QTimer;
    QObject::connect(closer, &QTimer::timeout, [closer, before] {
      if (ticks.size() < before + 3) return;
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      closer->stop();
      closer->deleteLater();
    });
    closer->start(5);
    MessageBoxA(h, "modal", nullptr, MB_OK);
    ticks_in_box = ticks.size() - before;
    return true;
  };
  SendMessageA(hwnd, WM_USER, 0, 0);
  EXPECT_GE(ticks_in_box, 3u);
}

TEST_F(TimersTest, ThreadTimersGetTheirOwnIdentifiers) {
  UINT_PTR a = SetTimer(nullptr, 0, 10, on_tick);
  UINT_PTR b = SetTimer(nullptr, 0, 10, on_tick);
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  ASSERT_TRUE(ui_test::pump_until([] { return ticks.size() >= 2; }, 2000));
  EXPECT_EQ(ticks[0].hwnd, nullptr);
  KillTimer(nullptr, a);
  KillTimer(nullptr, b);
}
