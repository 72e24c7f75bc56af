// MIDI rendering speed against FluidSynth's own fast file renderer
// (`fluidsynth -F`), same SoundFont, same synthesizer settings (its defaults:
// 44.1 kHz, reverb and chorus on), on a dense generated 60 s piece; and how
// long the default SoundFont's background preload keeps its caller.
//
// Usage: bench_midi [soundfont]   (default: TimGM6mb)
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/midi/midi_renderer.h"
#include "smf_builder.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 60;
constexpr std::size_t kBlock = 512;

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double cpu_now() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double seconds_of(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; }

// 120 bpm, 480 ppq: twelve melodic channels in eighth notes each held for a
// quarter, odd channels a sixteenth late, plus sixteenth-note drums.
midi_test::Bytes dense_piece(int seconds) {
  using midi_test::Track;
  std::vector<Track> tracks;
  Track tempo;
  tempo.tempo(0, 500000).end(std::uint32_t(seconds) * 960);
  tracks.push_back(tempo);
  const int programs[12] = {0, 4, 24, 32, 40, 48, 52, 56, 61, 68, 73, 88};
  for (int ch = 0; ch < 12; ++ch) {
    const int channel = ch < 9 ? ch : ch + 1;  // channel 9 is the drum kit
    Track t;
    t.event(0, {std::uint8_t(0xC0 | channel), std::uint8_t(programs[ch])});
    const int steps = seconds * 4;  // eighth notes
    auto key_at = [&](int i) { return 36 + (ch * 5 + i * 7) % 48; };
    for (int i = 0; i < steps; ++i) {
      const std::uint32_t delta = i == 0 ? std::uint32_t(ch % 2) * 120 : 240;
      t.note_on(delta, channel, key_at(i), 70 + (i * 13) % 50);
      if (i >= 2) t.note_off(0, channel, key_at(i - 2));
    }
    if (steps >= 2) t.note_off(240, channel, key_at(steps - 2));
    if (steps >= 1) t.note_off(0, channel, key_at(steps - 1));
    t.end();
    tracks.push_back(t);
  }
  Track drums;
  for (int i = 0; i < seconds * 8; ++i) {
    const int key = (i % 4 == 0) ? 36 : (i % 4 == 2) ? 38 : 42;
    drums.note_on(i == 0 ? 0 : 120, 9, key, 100).note_off(0, 9, key);
  }
  drums.end();
  tracks.push_back(drums);
  return midi_test::smf(1, 480, tracks);
}

// The machine may be shared: CPU time is the fair measure, wall time is shown too.
struct Run {
  double seconds = 0;
  double cpu_seconds = 0;
  double audio_seconds = 0;
};

Run render_ours(const std::string& path) {
  audio::MidiRenderer renderer;
  std::string error;
  const double start = now();
  const double cpu_start = cpu_now();
  if (!renderer.open(path, &error)) {
    std::fprintf(stderr, "open failed: %s\n", error.c_str());
    std::exit(1);
  }
  std::vector<float> block(kBlock * 2);
  std::size_t frames = 0;
  std::size_t got = 0;
  while ((got = renderer.render(block.data(), kBlock, kRate)) > 0) frames += got;
  return {now() - start, cpu_now() - cpu_start, double(frames) / kRate};
}

Run render_fluidsynth(const std::string& font, const std::string& midi, const std::string& wav) {
  std::fflush(nullptr);  // or the child writes our buffered output again
  const double start = now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    execlp("fluidsynth", "fluidsynth", "-q", "-ni", "-r", "44100", "-F", wav.c_str(), font.c_str(), midi.c_str(),
           static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double seconds = now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "fluidsynth failed (status %d)\n", status);
    std::exit(1);
  }
  struct stat st {};
  stat(wav.c_str(), &st);
  return {seconds, seconds_of(usage.ru_utime) + seconds_of(usage.ru_stime),
          double(st.st_size - 44) / 4 / kRate};  // 16-bit stereo WAV
}

Run best(const Run& a, const Run& b) {
  return {std::min(a.seconds, b.seconds), std::min(a.cpu_seconds, b.cpu_seconds), a.audio_seconds};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string font = argc > 1 ? argv[1] : "/usr/share/sounds/sf2/TimGM6mb.sf2";
  char dir_template[] = "/tmp/bench_midi_XXXXXX";
  const std::string dir = mkdtemp(dir_template);
  const std::string dense = midi_test::write_file(dir + "/dense.mid", dense_piece(kSeconds));
  const std::string empty = midi_test::write_file(dir + "/empty.mid", dense_piece(0));
  const std::string wav = dir + "/out.wav";

  // The default font as the program loads it from start-up: in the background.
  double start = now();
  audio::midi_preload_soundfont();
  const double preload_returned = now() - start;
  std::string error;
  const bool preloaded = audio::midi_wait_for_soundfont(&error);
  std::printf("default SoundFont preload: the call returns in %.0f us, the font is %s after %.3f s\n",
              preload_returned * 1e6, preloaded ? "ready" : "refused", now() - start);

  start = now();
  if (!audio::midi_load_soundfont(font, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("SoundFont %s loaded in %.3f s\n", font.c_str(), now() - start);

  // Runs alternate so that a change in the machine's load hits both sides.
  // fluidsynth's time includes its start and font load, and it renders about
  // 2 s past the end: a run on an empty piece takes both off.
  constexpr int kRounds = 3;
  Run ours = render_ours(dense);
  Run fs_empty = render_fluidsynth(font, empty, wav);
  Run fs = render_fluidsynth(font, dense, wav);
  for (int i = 1; i < kRounds; ++i) {
    ours = best(ours, render_ours(dense));
    fs_empty = best(fs_empty, render_fluidsynth(font, empty, wav));
    fs = best(fs, render_fluidsynth(font, dense, wav));
  }
  const double fs_audio = fs.audio_seconds - fs_empty.audio_seconds;
  const double fs_wall = fs.seconds - fs_empty.seconds;
  const double fs_cpu = fs.cpu_seconds - fs_empty.cpu_seconds;

  const double ours_rtf = ours.audio_seconds / ours.cpu_seconds;
  const double fs_rtf = fs_audio / fs_cpu;
  std::printf("quorvin renderer: %.1f s of audio, %.3f s CPU = %.1fx real time (wall %.3f s = %.1fx); 512-frame blocks\n",
              ours.audio_seconds, ours.cpu_seconds, ours_rtf, ours.seconds, ours.audio_seconds / ours.seconds);
  std::printf("fluidsynth -F:    %.1f s of audio, %.3f s CPU = %.1fx real time (wall %.3f s = %.1fx); "
              "start-up and font load (%.3f s CPU) taken off\n",
              fs_audio, fs_cpu, fs_rtf, fs_wall, fs_audio / fs_wall, fs_empty.cpu_seconds);
  std::printf("ratio quorvin / fluidsynth (CPU): %.2f (target >= 0.95)\n", ours_rtf / fs_rtf);
  std::filesystem::remove_all(dir);
  return 0;
}
