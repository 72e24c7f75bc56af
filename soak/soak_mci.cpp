// soak_mci: the three MCI devices through many open/play/stop/close cycles,
// then a repeat-all loop over short files (open, play to the end, close, next,
// round and round) as a deck plays a list; all on the fast null device, in the
// sanitizer build. Prints the live heap, resident memory and open descriptors
// as it goes. Exits 1 when the heap keeps growing after warm-up, descriptors
// are left open, a command fails or LeakSanitizer finds a leak.
// Usage: soak_mci [cycles per device, 10000] [repeat-all seconds, 1800]
#include <sanitizer/lsan_interface.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/disc_image.h"
#include "media_files.h"
#include "platform/audio/engine.h"
#include "platform/mci/mmsystem.h"
#include "process_sample.h"

namespace {

using Clock = std::chrono::steady_clock;

// Heap growth after warm-up that counts as a leak in all but name: a few
// hundred bytes a cycle would pass this in 10,000 cycles.
constexpr double kFlatHeapMb = 1.0;

bool g_failed = false;

void send(const std::string& command) {
  char reply[128];
  const MCIERROR err = mciSendStringA(command.c_str(), reply, sizeof reply, nullptr);
  if (err == 0) return;
  char text[256];
  mciGetErrorStringA(err, text, sizeof text);
  std::printf("  \"%s\" failed: %s\n", command.c_str(), text);
  g_failed = true;
}

void print_sample(const char* label, const ProcessSample& s) {
  std::printf("  %-22s heap %7.2f MB  resident %7.1f MB  descriptors %d\n", label, s.heap_mb, s.resident_mb,
              s.descriptors);
}

// Judges a run from its sample after warm-up and its last sample.
void judge(const char* what, const ProcessSample& warm, const ProcessSample& last) {
  const double growth = last.heap_mb - warm.heap_mb;
  const bool flat = growth < kFlatHeapMb && last.descriptors <= warm.descriptors;
  std::printf("  %s: heap %+.1f KB after warm-up, descriptors %+d: %s\n", what, growth * 1024,
              last.descriptors - warm.descriptors, flat ? "flat" : "GROWS");
  if (!flat) g_failed = true;
}

bool leak_check(const char* what) {
  const bool leaked = __lsan_do_recoverable_leak_check() != 0;
  std::printf("  %s: LeakSanitizer %s\n", what, leaked ? "found leaks (above)" : "found no leak");
  if (leaked) g_failed = true;
  return !leaked;
}

void cycle_device(const char* name, const std::string& open, int cycles) {
  std::printf("%s: %d open/play/stop/close cycles\n", name, cycles);
  const int warm_up = std::max(1, cycles / 10);
  ProcessSample warm;
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < cycles; ++i) {
    send(open + " alias soak");
    send("play soak");
    audio::run_fast(1024);  // a few buffers of sound actually move
    send("stop soak");
    send("close soak");
    if (g_failed) return;
    if (i + 1 == warm_up) warm = sample_process();
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const ProcessSample last = sample_process();
  print_sample("after warm-up", warm);
  print_sample("at the end", last);
  std::printf("  %.1f s, %.0f cycles a second\n", seconds, cycles / seconds);
  judge(name, warm, last);
  leak_check(name);
}

void repeat_all(const std::vector<std::string>& list, double seconds) {
  std::printf("repeat all: %zu short files for %.0f s\n", list.size(), seconds);
  const Clock::time_point start = Clock::now();
  const double every = seconds / 10;
  std::vector<ProcessSample> samples;
  long plays = 0;
  double next_sample = 0;
  for (std::size_t i = 0;; i = (i + 1) % list.size()) {
    const double now = std::chrono::duration<double>(Clock::now() - start).count();
    if (now >= next_sample) {
      samples.push_back(sample_process());
      char label[48];
      std::snprintf(label, sizeof label, "%6.0f s, %7ld plays", now, plays);
      print_sample(label, samples.back());
      next_sample += every;
    }
    if (now >= seconds || g_failed) break;
    send("open \"" + list[i] + "\" alias deck");
    send("play deck wait");
    send("close deck");
    ++plays;
  }
  // The first sample is the warm-up: the SoundFont and the engine's buffers come in with the first plays.
  if (samples.size() >= 3) judge("repeat all", samples[1], samples.back());
  leak_check("repeat all");
}

int arg(int argc, char** argv, int index, int fallback) {
  return argc > index ? std::atoi(argv[index]) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // figures show as they come, also into a file
  const int cycles = arg(argc, argv, 1, 10000);
  const int seconds = arg(argc, argv, 2, 1800);
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("quorvin-soak-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  setenv("QUORVIN_HOME", dir.c_str(), 1);
  setenv("QUORVIN_AUDIO", "fast", 1);
  audio::start();
  if (audio::device_kind() != audio::DeviceKind::NullFast) {
    std::printf("soak_mci: the engine is not on the fast null device\n");
    return 1;
  }

  const std::string d = dir.string() + "/";
  const std::string tone = mcitest::write_sine_wav(d + "tone.wav", 0.3, 8000, 1, 8);
  const std::string stereo = mcitest::write_sine_wav(d + "stereo.wav", 0.3, 44100, 2, 16);
  const std::string odd = mcitest::write_sine_wav(d + "odd.wav", 0.2, 22050, 2, 16);
  const std::string song = mcitest::write_tempo_change_midi(d + "song.mid", 4);
  const std::string cue = testmedia::write_cd_image(dir.string(), "disc", testmedia::cd_image_of({0.5, 0.3}));

  cycle_device("waveaudio", "open \"" + stereo + "\" type waveaudio", cycles);
  cycle_device("sequencer", "open \"" + song + "\" type sequencer", cycles);
  cycle_device("cdaudio", "open \"" + cue + "\" type cdaudio", cycles);
  repeat_all({tone, song, stereo, odd}, seconds);

  mciSendStringA("close all", nullptr, 0, nullptr);
  audio::shutdown();
  std::filesystem::remove_all(dir);
  std::printf("soak: %s\n", g_failed ? "FAILED" : "passed");
  return g_failed ? 1 : 0;
}
