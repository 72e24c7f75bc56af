// A whole program's life through the window layer, as the rack uses it:
// start-up, the message loop with its accelerator table, a timer procedure,
// hit areas posting commands, owner-drawn buttons, the hover cursor, and
// Alt+F4 ending the loop with the quit code of the destroy handler.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "ui_fixture.h"

namespace {

struct Rack {
  HWND main = nullptr;
  HCURSOR arrow = nullptr;
  HCURSOR hand = nullptr;
  HDC surface = nullptr;
  HFONT font = nullptr;
  bool hovering = false;
  int ticks = 0;
  std::vector<WPARAM> commands;
  bool destroyed = false;
  BOOL unregistered_in_destroy = TRUE;
};
Rack rack;

void CALLBACK rack_tick(HWND, UINT, UINT_PTR, DWORD) { ++rack.ticks; }

bool in_hit_area(LPARAM lp) {
  int x = LOWORD(lp), y = HIWORD(lp);
  return 55 < x && x < 90 && 24 < y && y < 100;
}

LRESULT CALLBACK rack_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      rack.hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(275));
      HDC desktop = GetDC(GetDesktopWindow());
      rack.surface = CreateCompatibleDC(desktop);
      ReleaseDC(GetDesktopWindow(), desktop);
      rack.font = CreateFontA(14, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x22, "Times New Roman");
      return rack.hand && rack.surface && rack.font ? 0 : -1;
    }
    case WM_LBUTTONDOWN:
      if (in_hit_area(lp))
        PostMessageA(hwnd, WM_COMMAND, 5012, 0);
      else
        DefWindowProcA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, lp);
      return 0;
    case WM_MOUSEMOVE:
      if (in_hit_area(lp) != rack.hovering) {
        rack.hovering = !rack.hovering;
        SetClassLongA(hwnd, GCL_HCURSOR,
                      static_cast<LONG>(reinterpret_cast<std::uintptr_t>(rack.hovering ? rack.hand : rack.arrow)));
      }
      return 0;
    case WM_COMMAND:
      rack.commands.push_back(wp);
      return 0;
    case WM_DRAWITEM:
      return 1;
    case WM_SYSKEYDOWN:
      return wp == VK_F4 ? DefWindowProcA(hwnd, msg, wp, lp) : 0;
    case WM_CLOSE:
      KillTimer(hwnd, 100);
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      DeleteDC(rack.surface);
      DeleteObject(rack.font);
      DestroyCursor(rack.hand);
      rack.destroyed = true;
      // As in Win32, this fails: the window still exists while it hears WM_DESTROY.
      rack.unregistered_in_destroy = UnregisterClassA("Quorvin", GetModuleHandleA(nullptr));
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

int rack_main(HINSTANCE inst) {
  WNDCLASSA wc{};
  wc.style = 11;
  wc.lpfnWndProc = rack_proc;
  wc.hInstance = inst;
  wc.hCursor = rack.arrow = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "Quorvin";
  if (!RegisterClassA(&wc)) return 0;
  int x = (GetSystemMetrics(SM_CXSCREEN) - 579) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - 402) / 2;
  rack.main = CreateWindowExA(0, "Quorvin", "Vantorel", WS_POPUP | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                              579, 402, nullptr, nullptr, inst, nullptr);
  if (!rack.main) return 0;
  for (int id : {8001, 8002})
    CreateWindowExA(0, "BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, id == 8001 ? 493 : 390, 363, 51, 27,
                    rack.main, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), inst, nullptr);
  SetTimer(rack.main, 100, 20, rack_tick);
  ShowWindow(rack.main, SW_SHOWDEFAULT);
  UpdateWindow(rack.main);
  HACCEL accel = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(269));
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    if (!TranslateAcceleratorA(rack.main, accel, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

Qt::CursorShape rack_cursor() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == "Vantorel" && w->isVisible()) return w->cursor().shape();
  return Qt::BlankCursor;
}

}  // namespace

using RackFlowTest = UiTest;

TEST_F(RackFlowTest, ARackStartsRunsAndClosesWithAltF4) {
  rack = Rack{};
  Qt::CursorShape over_hit_area = Qt::BlankCursor, off_hit_area = Qt::BlankCursor;
  int ticks_before_close = 0;
  // Each step runs from the event loop; the program's loop dispatches what it caused before the next.
  std::vector<std::function<void()>> steps{
      [] { ui_test::move(rack.main, 56, 25); },
      [&] { over_hit_area = rack_cursor(); },
      [] { ui_test::move(rack.main, 300, 25); },
      [&] { off_hit_area = rack_cursor(); },
      [] { ui_test::click(rack.main, 56, 25); },                // a hit area: command 5012 posted
      [] { ui_test::click(GetDlgItem(rack.main, 8001), 5, 5); },  // a button: command 8001 sent
      [] { ui_test::key(rack.main, '1', false, true); },        // accelerator: command 7025
      [&] { ticks_before_close = rack.ticks; },
      [] { ui_test::key(rack.main, VK_F4, true); },
  };
  for (size_t i = 0; i < steps.size(); ++i) QTimer::singleShot(100 + 10 * static_cast<int>(i), steps[i]);
  EXPECT_EQ(rack_main(GetModuleHandleA(nullptr)), 0);

  EXPECT_TRUE(rack.destroyed);
  EXPECT_FALSE(IsWindow(rack.main));
  EXPECT_FALSE(rack.unregistered_in_destroy);
  EXPECT_TRUE(UnregisterClassA("Quorvin", nullptr));
  EXPECT_GE(ticks_before_close, 3);
  EXPECT_EQ(over_hit_area, Qt::PointingHandCursor);
  EXPECT_EQ(off_hit_area, Qt::ArrowCursor);
  std::vector<WPARAM> expected{5012, MAKEWPARAM(8001, BN_CLICKED), MAKEWPARAM(7025, 1)};
  EXPECT_EQ(rack.commands, expected);
}
