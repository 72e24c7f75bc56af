// The CD deck's costs in the running program: one rack tick while a disc
// plays, and switching Random on for a 99-track disc (the draws, each shown on
// the LCD, the stop and the first play), and the CPU a disc without a playable
// track costs while it cycles in repeat All. With --write-disc DIR it only writes
// the disc image the desktop benchmark loads and prints its path.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cd/cd_deck.h"
#include "media/disc_image.h"
#include "platform/ui/windows.h"
#include "bench/timing.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"
#include "skin/rack_timer.h"

namespace {

std::string write_disc(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  return testmedia::write_cd_image(dir.string(), "bench99", testmedia::cd_image_of(std::vector<double>(99, 2.0)));
}

void command(WORD id) { SendMessageA(main_window, WM_COMMAND, id, 0); }

// Runs `f` once the main window exists and the disc is loaded.
void when_ready(void (*f)()) {
  QTimer::singleShot(0, [f] {
    if (main_window == nullptr || !cd.ready)
      when_ready(f);
    else
      f();
  });
}

double cpu_seconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Repeat All on a disc of data tracks only: every play fails and the deck moves
// on, paced by its own timer. Measured over a few seconds of the message loop.
int cycling_cost(const std::filesystem::path& home) {
  setenv("QUORVIN_CDROM",
         testmedia::write_cd_image(home.string(), "data3", testmedia::cd_image_of({}, 3)).c_str(), 1);
  constexpr int kSeconds = 3;
  static double start = 0, idle = 0;
  when_ready([] {
    // First the same program standing still, for comparison.
    start = cpu_seconds();
    QTimer::singleShot(kSeconds * 1000, [] {
      idle = cpu_seconds() - start;
      command(CMD_CD_REPEAT);
      command(CMD_CD_REPEAT);
      command(CMD_CD_PLAY);
      start = cpu_seconds();
      QTimer::singleShot(kSeconds * 1000, [] {
        const double cycling = cpu_seconds() - start;
        std::printf("disc without audio, repeat All: %.3f %% of one core cycling, %.3f %% standing (whole process)\n",
                    cycling / kSeconds * 100, idle / kSeconds * 100);
        PostMessageA(main_window, WM_CLOSE, 0, 0);
      });
    });
  });
  return WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-disc") == 0) {
    std::printf("%s\n", write_disc(argv[2]).c_str());
    return 0;
  }
  const auto home = std::filesystem::temp_directory_path() / "quorvin-bench-cddeck";
  std::filesystem::create_directories(home);
  setenv("QUORVIN_HOME", home.c_str(), 1);
  setenv("QUORVIN_AUDIO", "fast", 0);
  setenv("QUORVIN_CDROM", write_disc(home).c_str(), 1);
  QApplication app(argc, argv);
  QTimer::singleShot(0, [] {
    if (main_window == nullptr || !cd.ready) {
      std::fprintf(stderr, "bench_cddeck: the disc image did not load\n");
      PostMessageA(main_window, WM_CLOSE, 0, 0);
      return;
    }
    const double idle_tick = microseconds_per_call(2000, [] { rack_timer_tick(main_window, 0, kRackTimerId, 0); });
    command(CMD_CD_PLAY);
    const double playing_tick = microseconds_per_call(2000, [] { rack_timer_tick(main_window, 0, kRackTimerId, 0); });
    command(CMD_CD_STOP);
    double random_on = 0;
    constexpr int kRounds = 20;
    for (int i = 0; i < kRounds; ++i) {
      random_on += microseconds_per_call(1, [] { command(CMD_CD_SHUFFLE); });
      command(CMD_CD_SHUFFLE);  // back to Normal, stopped
    }
    std::printf("250 ms tick, every module shown, disc stopped: %.2f us\n", idle_tick);
    std::printf("250 ms tick, every module shown, disc playing: %.2f us\n", playing_tick);
    std::printf("Random on, 99-track disc (draws shown, stop, play): %.0f us (mean of %d)\n", random_on / kRounds,
                kRounds);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  int code = WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
  if (code == 0) code = cycling_cost(home);
  std::filesystem::remove_all(home);
  return code;
}
