#include "platform/audio/midi/soundfont_store.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "platform/audio/midi/midi_renderer.h"
#include "platform/settings.h"

namespace audio::midi {

namespace {

thread_local std::string t_fluid_error;

void keep_error(int level, const char* message, void*) {
  if ((level == FLUID_PANIC || level == FLUID_ERR) && message) t_fluid_error = message;
}

std::mutex g_font_mutex;

// Loaded fonts by path. The holder synthesizer owns them and lives as long as
// the process, so a borrowed font never dies under a renderer.
//
// Two locks: `load_mutex` serialises the slow part (parsing a font into the
// holder), `mutex` guards the quick state, so asking how a load goes never
// waits for it.
struct Store {
  std::mutex load_mutex;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* holder = nullptr;

  std::mutex mutex;
  std::map<std::string, fluid_sfont_t*> fonts;
  fluid_sfont_t* current = nullptr;
  bool loading = false;  // a background load runs
  std::string failure;   // why the default font could not be loaded; "" after a success
  std::condition_variable loaded;
  std::function<void()> gate;
};

Store& store() {
  static Store* instance = new Store;  // never destroyed: renderers may outlive static teardown
  return *instance;
}

// libinstpatch, which FluidSynth asks about files that are not SoundFonts,
// prints to stderr on its own; only RIFF "sfbk" files go to FluidSynth.
bool looks_like_soundfont(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    *error = "The SoundFont \"" + path + "\" cannot be opened: " + std::strerror(errno) + ".";
    return false;
  }
  unsigned char head[12] = {};
  const std::size_t got = std::fread(head, 1, sizeof head, file);
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fclose(file);
  if (got < sizeof head || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "sfbk", 4) != 0) {
    *error = "\"" + path + "\" is not a SoundFont (SF2) file.";
    return false;
  }
  const unsigned long riff_size = head[4] | (head[5] << 8) | (head[6] << 16) | (std::uint32_t(head[7]) << 24);
  if (size < 0 || riff_size + 8 > static_cast<unsigned long>(size)) {
    *error = "The SoundFont \"" + path + "\" is truncated.";
    return false;
  }
  return true;
}

// One font file reached by several names (default-GM.sf2 is a link) loads once.
std::string font_key(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path real = std::filesystem::canonical(path, ignored);
  return real.empty() ? path : real.string();
}

// Parses the font into the holder (under load_mutex) and makes it current.
bool load(Store& s, const std::string& path, std::string* error) {
  const std::string key = font_key(path);
  {
    std::lock_guard lock(s.mutex);
    if (auto found = s.fonts.find(key); found != s.fonts.end()) {
      s.current = found->second;
      return true;
    }
  }
  if (!looks_like_soundfont(path, error)) return false;
  if (!s.holder) {
    s.settings = new_fluid_settings();
    // Pinning 150 MB of samples in RAM is not this player's business.
    fluid_settings_setint(s.settings, "synth.lock-memory", 0);
    s.holder = new_fluid_synth(s.settings);
    if (!s.holder) {
      *error = "The synthesizer cannot be created: " + take_fluid_error();
      return false;
    }
  }
  take_fluid_error();
  fluid_sfont_t* font = nullptr;
  {
    // Loading resets the holder's channels, which releases presets of fonts that renderers share.
    auto lock = shared_font_lock();
    const int id = fluid_synth_sfload(s.holder, path.c_str(), 0);
    // The font just loaded is on top of the holder's stack. (Its id is no guide:
    // every synthesizer that borrows a font gives it an id of its own.)
    font = id == FLUID_FAILED ? nullptr : fluid_synth_get_sfont(s.holder, 0);
  }
  if (!font) {
    const std::string why = take_fluid_error();
    *error = "The SoundFont \"" + path + "\" cannot be loaded" + (why.empty() ? "." : ": " + why);
    return false;
  }
  std::lock_guard lock(s.mutex);
  s.fonts[key] = font;
  s.current = font;
  return true;
}

void preload_locked(Store& s);

void background_load(std::string path) {
  Store& s = store();
  std::function<void()> gate;
  {
    std::lock_guard lock(s.mutex);
    gate = s.gate;
  }
  if (gate) gate();
  std::string error;
  bool ok;
  {
    std::lock_guard lock(s.load_mutex);
    ok = load(s, path, &error);
  }
  {
    std::lock_guard lock(s.mutex);
    s.loading = false;
    s.failure = ok ? "" : error;
    if (!ok) s.current = nullptr;  // the font asked for is not there: no play with another one
    // The settings named another font while this one loaded: that one is wanted now.
    if (font_key(midi_default_soundfont()) != font_key(path)) preload_locked(s);
  }
  s.loaded.notify_all();
}

// Starts loading the default font unless it is loaded or a load runs. The
// cheap checks (the file is there and is a SoundFont) run here, so a missing
// font is known at once. Renderers that hold a font keep it; new ones get the
// default or nothing. Called under s.mutex.
void preload_locked(Store& s) {
  if (s.loading) return;
  const std::string path = midi_default_soundfont();
  if (auto found = s.fonts.find(font_key(path)); found != s.fonts.end()) {
    s.current = found->second;
    s.failure.clear();
    return;
  }
  std::string error;
  if (!looks_like_soundfont(path, &error)) {
    s.failure = error;
    s.current = nullptr;
    return;
  }
  s.loading = true;
  s.failure.clear();
  std::thread(background_load, path).detach();  // the store outlives it: it is never destroyed
}

}  // namespace

void quiet_fluid_log() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, keep_error, nullptr);
  });
}

std::string take_fluid_error() {
  std::string error;
  error.swap(t_fluid_error);
  return error;
}

fluid_sfont_t* ready_soundfont() {
  Store& s = store();
  std::lock_guard lock(s.mutex);
  if (!s.current && !s.loading && s.failure.empty()) preload_locked(s);
  return s.loading ? nullptr : s.current;
}

fluid_sfont_t* wait_for_soundfont(std::string* error) {
  Store& s = store();
  std::unique_lock lock(s.mutex);
  if (!s.current && !s.loading && s.failure.empty()) preload_locked(s);
  s.loaded.wait(lock, [&] { return !s.loading; });
  if (!s.current) *error = s.failure;
  return s.current;
}

std::unique_lock<std::mutex> shared_font_lock() { return std::unique_lock(g_font_mutex); }

}  // namespace audio::midi

namespace audio {

bool midi_load_soundfont(const std::string& path, std::string* error) {
  midi::quiet_fluid_log();
  midi::Store& s = midi::store();
  std::lock_guard lock(s.load_mutex);
  std::string ignored;
  return midi::load(s, path, error ? error : &ignored);
}

void midi_preload_soundfont() {
  midi::quiet_fluid_log();
  midi::Store& s = midi::store();
  std::lock_guard lock(s.mutex);
  midi::preload_locked(s);
}

SoundFontState midi_soundfont_state(std::string* error) {
  midi::quiet_fluid_log();
  midi::Store& s = midi::store();
  std::lock_guard lock(s.mutex);
  if (!s.current && !s.loading && s.failure.empty()) midi::preload_locked(s);
  if (s.loading) return SoundFontState::Loading;
  if (s.current) return SoundFontState::Ready;
  if (error) *error = s.failure;
  return SoundFontState::Failed;
}

bool midi_wait_for_soundfont(std::string* error) {
  std::string ignored;
  return midi::wait_for_soundfont(error ? error : &ignored) != nullptr;
}

void midi_set_soundfont_gate(std::function<void()> gate) {
  midi::Store& s = midi::store();
  std::lock_guard lock(s.mutex);
  s.gate = std::move(gate);
}

std::string midi_default_soundfont() {
  return platform_setting("SoundFont", "QUORVIN_SOUNDFONT", "/usr/share/sounds/sf2/default-GM.sf2");
}

}  // namespace audio
