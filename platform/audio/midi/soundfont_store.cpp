#include "platform/audio/midi/soundfont_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

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
struct Store {
  std::mutex mutex;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* holder = nullptr;
  std::map<std::string, fluid_sfont_t*> fonts;
  fluid_sfont_t* current = nullptr;
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

bool load_locked(Store& s, const std::string& path, std::string* error) {
  const std::string key = font_key(path);
  if (auto found = s.fonts.find(key); found != s.fonts.end()) {
    s.current = found->second;
    return true;
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
  const int id = fluid_synth_sfload(s.holder, path.c_str(), 0);
  // The font just loaded is on top of the holder's stack. (Its id is no guide:
  // every synthesizer that borrows a font gives it an id of its own.)
  fluid_sfont_t* font = id == FLUID_FAILED ? nullptr : fluid_synth_get_sfont(s.holder, 0);
  if (!font) {
    const std::string why = take_fluid_error();
    *error = "The SoundFont \"" + path + "\" cannot be loaded" + (why.empty() ? "." : ": " + why);
    return false;
  }
  s.fonts[key] = font;
  s.current = font;
  return true;
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

fluid_sfont_t* current_soundfont(std::string* error) {
  Store& s = store();
  {
    std::lock_guard lock(s.mutex);
    if (s.current) return s.current;
  }
  if (!midi_load_soundfont(midi_default_soundfont(), error)) return nullptr;
  std::lock_guard lock(s.mutex);
  return s.current;
}

std::unique_lock<std::mutex> shared_font_lock() { return std::unique_lock(g_font_mutex); }

}  // namespace audio::midi

namespace audio {

bool midi_load_soundfont(const std::string& path, std::string* error) {
  midi::quiet_fluid_log();
  midi::Store& s = midi::store();
  std::lock_guard lock(s.mutex);
  std::string ignored;
  return midi::load_locked(s, path, error ? error : &ignored);
}

std::string midi_default_soundfont() {
  return platform_setting("SoundFont", "QUORVIN_SOUNDFONT", "/usr/share/sounds/sf2/default-GM.sf2");
}

}  // namespace audio
