// Paint and tick costs of the full rack, measured inside the running program (offscreen).
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/timing.h"
#include "platform/ui/windows.h"
#include "skin/paint.h"
#include "skin/rack_state.h"
#include "skin/rack_timer.h"

int main(int argc, char** argv) {
  // A private settings folder: every module shown, nothing of the user's touched.
  const auto home = std::filesystem::temp_directory_path() / "quorvin-bench-rack";
  std::filesystem::create_directories(home);
  setenv("QUORVIN_HOME", home.c_str(), 1);
  setenv("QUORVIN_AUDIO", "fast", 0);
  QApplication app(argc, argv);
  QTimer::singleShot(0, [] {
    if (main_window == nullptr) return;
    const double paint = microseconds_per_call(200, [] {
      InvalidateRect(main_window, nullptr, FALSE);
      UpdateWindow(main_window);
    });
    const double tick = microseconds_per_call(2000, [] { rack_timer_tick(main_window, 0, kRackTimerId, 0); });
    std::printf("full-rack paint: %.1f us\n", paint);
    std::printf("250 ms tick, all modules shown: %.2f us\n", tick);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  const int code = WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
  std::filesystem::remove_all(home);
  return code;
}
