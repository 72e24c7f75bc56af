// Window layer figures: time from creating a rack-sized window to its first
// painted frame, the cost of a face blit, and CPU use while the program's
// loop idles with a 250 ms timer running.
#include <QElapsedTimer>
#include <QImage>
#include <chrono>
#include <cstdio>

#include "platform/ui/resources.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"

namespace {

QElapsedTimer clock_since_create;
double first_paint_ms = -1;
HBITMAP face = nullptr;
HDC surface = nullptr;

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HGDIOBJ old = SelectObject(surface, face);
      BitBlt(dc, 0, 0, 577, 400, surface, 0, 0, SRCCOPY);
      SelectObject(surface, old);
      EndPaint(hwnd, &ps);
      if (first_paint_ms < 0) first_paint_ms = clock_since_create.nsecsElapsed() / 1e6;
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

// Time on the CPU of the GUI thread, in nanoseconds exact (getrusage counts in scheduler ticks).
double cpu_seconds() {
  unsigned long long on_cpu_ns = 0;
  if (FILE* f = std::fopen("/proc/thread-self/schedstat", "r")) {
    if (std::fscanf(f, "%llu", &on_cpu_ns) != 1) on_cpu_ns = 0;
    std::fclose(f);
  }
  return on_cpu_ns / 1e9;
}

int ticks = 0;
void CALLBACK on_tick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

int bench(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
  QImage art(577, 400, QImage::Format_RGB32);
  art.fill(qRgb(40, 40, 48));
  ui_resources::register_bitmap("RACKBMP", art);
  face = LoadBitmapA(inst, "RACKBMP");
  surface = CreateCompatibleDC(nullptr);

  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = "BenchRack";
  RegisterClassA(&wc);
  clock_since_create.start();
  HWND hwnd = CreateWindowExA(0, "BenchRack", "Bench", WS_POPUP | WS_BORDER, 100, 100, 579, 402, nullptr,
                              nullptr, inst, nullptr);
  for (int i = 0; i < 44; ++i)
    CreateWindowExA(0, "BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10 * i, 300, 10, 10, hwnd,
                    reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(5000 + i)), inst, nullptr);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  ui_test::pump_until([] { return first_paint_ms >= 0; }, 1000);
  std::printf("create + 44 buttons + show to first painted frame: %.2f ms\n", first_paint_ms);

  constexpr int kBlits = 2000;
  QElapsedTimer blit_clock;
  blit_clock.start();
  HDC dc = GetDC(hwnd);
  for (int i = 0; i < kBlits; ++i) {
    HGDIOBJ old = SelectObject(surface, face);
    BitBlt(dc, 0, 0, 577, 130, surface, 0, 0, SRCCOPY);
    SelectObject(surface, old);
  }
  ReleaseDC(hwnd, dc);
  ui_test::pump(50);  // the frame those blits asked for
  std::printf("577x130 blit through a window DC: %.1f us each\n", blit_clock.nsecsElapsed() / 1e3 / kBlits);

  SetTimer(hwnd, 100, 250, on_tick);
  UINT_PTR stopper = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
  });
  (void)stopper;
  double cpu_before = cpu_seconds();
  QElapsedTimer wall;
  wall.start();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  double cpu = cpu_seconds() - cpu_before;
  double seconds = wall.nsecsElapsed() / 1e9;
  std::printf("idle loop with a 250 ms timer: %d ticks in %.2f s, CPU %.3f%%\n", ticks, seconds,
              100.0 * cpu / seconds);
  DestroyWindow(hwnd);
  DeleteDC(surface);
  DeleteObject(face);
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunWinMain(argc, argv, bench); }
