// The decks measured inside the running program on the real-time null device:
//   - play command to first sample: from the Play command to the first
//     non-silent frame the output device takes, wave deck and MIDI deck;
//   - one rack tick with all three decks playing (position displays drawn),
//     with the information views on and off: the decks' refreshes alone, and
//     the whole tick (the CD deck's polling for a disc included);
//   - the whole program's CPU (every thread, as % of one core) while one 60 s
//     wave file plays to its end, the rack ticking and drawing as it does.
//
// Usage: bench_decks [seconds]   (the wave file's length; default 60)
//        bench_decks --pictures DIR   (pictures of the rack playing, no figures)
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "decks/deck_model.h"
#include "decks/decks.h"
#include "decks/midi_deck.h"
#include "decks/wave_decks.h"
#include "media_files.h"
#include "platform/audio/engine.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "skin/rack_state.h"
#include "skin/rack_timer.h"

namespace {

using Clock = std::chrono::steady_clock;
std::filesystem::path home;
double wave_seconds = 60;
std::string picture_dir;

// When the output device took its first frame that is not silence.
std::atomic<Clock::rep> first_sound{0};

void watch_output() {
  audio::set_output_tap([](const float* stereo, std::size_t frames) {
    if (first_sound.load() != 0) return;
    for (std::size_t i = 0; i < 2 * frames; ++i)
      if (std::fabs(stereo[i]) > 1e-4f) {
        first_sound.store(Clock::now().time_since_epoch().count());
        return;
      }
  });
}

void command(WORD id) { SendMessageA(main_window, WM_COMMAND, id, 0); }

// Runs the program's loop (ticks, notifications, paints) for a while.
void pump_ms(int ms) { ui_test::pump(ms); }

// Milliseconds from the command to the first sound, over `runs` plays from the start.
std::vector<double> command_to_sound(WORD play, WORD stop, int runs) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    command(stop);
    pump_ms(50);
    first_sound.store(0);
    const auto start = Clock::now();
    command(play);
    while (first_sound.load() == 0 && Clock::now() - start < std::chrono::seconds(5)) pump_ms(1);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::time_point(Clock::duration(first_sound.load())) - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms;
}

template <typename Step>
double us_per_call(int calls, Step step) {
  const auto start = Clock::now();
  for (int i = 0; i < calls; ++i) step();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
}

double cpu_seconds() {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
}

void load(Deck& deck, const std::string& path) {
  open_into_deck(deck, path, name_offset_of(path));
  if (deck.kind == DeckKind::Midi)
    midi_load_finished();
  else
    wave_load_finished(deck.number);
}

// The rack playing: the MIDI deck and wave deck 1 with their information
// shown, deck 2 holding a file behind its reels; then the views switched.
void take_pictures() {
  const std::string song = mcitest::write_sine_wav((home / "Morning Walk.wav").string(), 20, 44100, 2, 16);
  const std::string voice = mcitest::write_sine_wav((home / "Interview.wav").string(), 12, 22050, 1, 16);
  const std::string tune = mcitest::write_tempo_change_midi((home / "Evening Etude.mid").string(), 80);
  command(CMD_MIDI_DISPLAY);
  command(CMD_TAPE1_DISPLAY);
  load(wave_deck(2), voice);
  load(wave_deck(1), song);
  load(midi_deck, tune);
  pump_ms(1500);
  command(CMD_MIDI_PLAY);
  command(CMD_WAVE_PLAY);
  pump_ms(3300);
  ui_test::client_image(main_window).save(QString::fromStdString(picture_dir + "/rack-playing.png"));
  command(CMD_MIDI_DISPLAY);
  command(CMD_TAPE1_DISPLAY);
  command(CMD_TAPE2_DISPLAY);
  for (int i = 0; i < 4; ++i) {
    pump_ms(260);
    ui_test::client_image(main_window).save(QString::fromStdString(picture_dir + "/rack-reels-" + std::to_string(i) + ".png"));
  }
  PostMessageA(main_window, WM_CLOSE, 0, 0);
}

void run() {
  if (!picture_dir.empty()) {
    take_pictures();
    return;
  }
  const std::string wav = mcitest::write_sine_wav((home / "tone.wav").string(), 4, 44100, 2, 16);
  const std::string mid = mcitest::write_tempo_change_midi((home / "tune.mid").string(), 40);
  const std::string long_wav = mcitest::write_sine_wav((home / "long.wav").string(), wave_seconds, 44100, 2, 16);
  watch_output();
  load(wave_deck(1), wav);
  load(wave_deck(2), wav);
  load(midi_deck, mid);
  pump_ms(1500);  // the SoundFont's background load

  const auto wave = command_to_sound(CMD_WAVE_PLAY, CMD_WAVE_STOP, 15);
  const auto midi = command_to_sound(CMD_MIDI_PLAY, CMD_MIDI_STOP, 15);
  std::printf("play command to first sample, wave deck: median %.1f ms, worst %.1f ms\n", wave[wave.size() / 2], wave.back());
  std::printf("play command to first sample, MIDI deck: median %.1f ms, worst %.1f ms\n", midi[midi.size() / 2], midi.back());

  // All three decks playing (one Play/Pause toggle plays one wave deck; the
  // second is started directly, as a recording deck would tick).
  make_active(1);
  command(CMD_WAVE_PLAY);
  deck_play(wave_deck(2));
  wave_deck(2).state = kPlaying;
  for (int view = 1; view >= 0; --view) {
    midi_deck.info_view = wave_deck(1).info_view = wave_deck(2).info_view = view;
    const double decks = us_per_call(400, [] {
      midi_tick();
      wave_tick();
    });
    const double tick = us_per_call(400, [] { rack_timer_tick(main_window, 0, kRackTimerId, 0); });
    std::printf("one rack tick, three decks playing, information view %s: decks' refreshes %.0f us, whole tick %.0f us\n",
                view ? "on" : "off", decks, tick);
  }
  command(CMD_WAVE_STOP);
  command(CMD_MIDI_STOP);
  deck_command(wave_deck(2), "stop %s");
  wave_deck(2).state = kStopped;
  pump_ms(200);

  load(wave_deck(1), long_wav);
  make_active(1);
  wave_deck(1).info_view = 1;
  const double cpu0 = cpu_seconds();
  const auto wall0 = Clock::now();
  command(CMD_WAVE_PLAY);
  while (wave_deck(1).state == kPlaying) pump_ms(100);
  const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
  std::printf("whole program while a %.0f s wave plays (all threads): %.1f %% of one core over %.1f s\n", wave_seconds,
              100.0 * (cpu_seconds() - cpu0) / wall, wall);
  PostMessageA(main_window, WM_CLOSE, 0, 0);
}

constexpr UINT_PTR kScriptTimer = 0x5D;

void CALLBACK run_script(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  run();
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc > 2 && std::string(argv[1]) == "--pictures")
    picture_dir = std::filesystem::absolute(argv[2]).string();
  else if (argc > 1)
    wave_seconds = std::max(1.0, std::atof(argv[1]));
  home = std::filesystem::temp_directory_path() / "quorvin-bench-decks";
  std::filesystem::create_directories(home);
  setenv("QUORVIN_HOME", home.c_str(), 1);
  setenv("QUORVIN_AUDIO", "null", 1);
  QApplication app(argc, argv);
  // The script starts once the main window exists, as a timer procedure of
  // the program's loop, so the loops it runs deliver posted messages.
  QTimer ready;
  QObject::connect(&ready, &QTimer::timeout, [&ready] {
    if (main_window == nullptr || !IsWindow(main_window) || rack_timer == 0) return;
    ready.stop();
    SetTimer(main_window, kScriptTimer, 0, run_script);
  });
  ready.start(10);
  const int code = WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL);
  std::filesystem::remove_all(home);
  return code;
}
