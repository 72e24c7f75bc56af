// Fuzzes MCI command strings on the fast null device. An input is up to 16
// lines, each sent with mciSendStringA, in a folder that holds a few small
// media files made afresh for every input (tone.wav, stereo.wav, song.mid,
// disc.cue with disc.bin, the default CD). Kept safe and reproducible:
// - the harness runs as root, so an input that could name a path outside the
//   folder (a '/', a "..") is skipped, and the settings folder lies inside it;
// - every device is closed after each input, and the folder emptied;
// - files may grow to 8 MB at most (the fast null input records as fast as
//   the plays run).
// What must hold: replies are terminated within their buffer, every error has
// a text, and after "close all" no device is left open and every voice is free.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_files.h"
#include "platform/audio/engine.h"
#include "platform/mci/mmsystem.h"

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

std::string le(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}
std::string be(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

// A PCM wave of a square tone.
std::string wav(std::uint32_t rate, int channels, int bits, std::uint32_t frames) {
  const std::uint32_t align = static_cast<std::uint32_t>(channels * bits / 8);
  std::string body;
  for (std::uint32_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) {
      const int high = (f / 20) % 2;
      body += bits == 8 ? std::string(1, static_cast<char>(high ? 0xC0 : 0x40)) : le(high ? 0x3000 : 0xD000, 2);
    }
  return "RIFF" + le(36 + static_cast<std::uint32_t>(body.size()), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) +
         le(static_cast<std::uint32_t>(channels), 2) + le(rate, 4) + le(rate * align, 4) + le(align, 2) +
         le(static_cast<std::uint32_t>(bits), 2) + "data" + le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

// Format 0, 96 ticks a quarter: four eighth notes, the tempo doubling halfway (0.375 s).
std::string midi() {
  std::string track;
  const char notes[] = {60, 64, 67, 72};
  for (int i = 0; i < 4; ++i) {
    if (i == 2) track += std::string("\x00\xFF\x51\x03\x03\xD0\x90", 7);
    track += std::string("\x00\x90", 2) + notes[i] + '\x60' + '\x30' + '\x80' + notes[i] + '\x00';
  }
  track += std::string("\x00\xFF\x2F\x00", 4);
  return "MThd" + be(6, 4) + be(0, 2) + be(1, 2) + be(96, 2) + "MTrk" + be(static_cast<std::uint32_t>(track.size()), 4) +
         track;
}

// Two audio tracks of 10 and 6 sectors.
constexpr char kCue[] =
    "FILE \"disc.bin\" BINARY\n"
    "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
    "  TRACK 02 AUDIO\n    INDEX 01 00:00:10\n";
constexpr std::size_t kBinBytes = 16 * 2352;

struct Media {
  const char* name;
  std::string bytes;
};

const Media* media() {
  static const Media files[] = {
      {"tone.wav", wav(8000, 1, 8, 2000)},      // 0.25 s
      {"stereo.wav", wav(22050, 2, 16, 4410)},  // 0.2 s
      {"song.mid", midi()},
      {"disc.cue", kCue},
      {"disc.bin", std::string(kBinBytes, '\x11')},
      {nullptr, {}},
  };
  return files;
}

void no_notices(HWND, UINT, WPARAM, LPARAM) {}

const std::string& work_folder() {
  static const std::string folder = [] {
    const std::string root = fuzzfiles::scratch_folder();
    setenv("QUORVIN_HOME", root.c_str(), 1);
    setenv("QUORVIN_AUDIO", "fast", 1);
    const std::string work = root + "/work";
    mkdir(work.c_str(), 0700);
    setenv("QUORVIN_CDROM", (work + "/disc.cue").c_str(), 1);
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{8u << 20, 8u << 20};
    setrlimit(RLIMIT_FSIZE, &limit);
    mci_set_notify_poster(no_notices);
    audio::start();
    check(audio::device_kind() == audio::DeviceKind::NullFast, "the engine is not on the fast null device");
    return work;
  }();
  return folder;
}

bool stays_inside(std::string_view text) {
  return text.find('/') == std::string_view::npos && text.find("..") == std::string_view::npos &&
         text.find('\0') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (size > 1024 || !stays_inside(text)) return -1;
  const std::string& folder = work_folder();
  // Commands name the media by relative paths; libFuzzer's own paths (corpus,
  // artifacts) stay relative to where it was started.
  static const std::string started_in = std::filesystem::current_path().string();
  if (chdir(folder.c_str()) != 0) std::abort();
  fuzzfiles::empty_folder(folder);
  for (const Media* m = media(); m->name; ++m) fuzzfiles::write_file(folder + "/" + m->name, m->bytes);

  std::size_t start = 0;
  for (int line = 0; line < 16 && start <= text.size(); ++line) {
    const std::size_t nl = std::min(text.find('\n', start), text.size());
    const std::string command(text.substr(start, nl - start));
    start = nl + 1;
    char reply[64];
    std::memset(reply, 0x7F, sizeof reply);
    const MCIERROR err = mciSendStringA(command.c_str(), reply, sizeof reply, reinterpret_cast<HWND>(1));
    check(std::memchr(reply, '\0', sizeof reply) != nullptr, "a reply is not terminated in its buffer");
    if (err != 0) {
      char error_text[256];
      check(mciGetErrorStringA(err, error_text, sizeof error_text) && error_text[0], "an error has no text");
    }
  }
  check(mciSendStringA("close all", nullptr, 0, nullptr) == 0, "close all failed");
  for (const char* name : {"tone.wav", "stereo.wav", "song.mid", "cdaudio", "waveaudio", "sequencer"})
    check(mciGetDeviceIDA(name) == 0, "a device is still open after close all");
  // Every device gave its voice back: the first one is free again.
  const audio::VoiceId voice = audio::voice_create(audio::Line::Wave);
  check(voice == 0, "a voice outlived its device");
  audio::voice_destroy(voice);
  if (chdir(started_in.c_str()) != 0) std::abort();
  return 0;
}
