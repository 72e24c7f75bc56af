#pragma once
// Standard MIDI files (format 0 and 1) rendered through FluidSynth into engine
// frames. No FluidSynth audio driver: the engine pulls the samples.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace audio {

// Loads the SoundFont once per process; slow for large fonts (call it off the UI
// thread). Later calls with the same path return at once.
bool midi_load_soundfont(const std::string& path, std::string* error);
// The SoundFont the platform settings name (QUORVIN_SOUNDFONT, platform.ini),
// else Debian's default GM font.
std::string midi_default_soundfont();

class MidiRenderer {
 public:
  MidiRenderer();
  ~MidiRenderer();
  MidiRenderer(const MidiRenderer&) = delete;
  MidiRenderer& operator=(const MidiRenderer&) = delete;

  // Validates and parses the file (a corrupt or truncated file fails here with a
  // plain error text) and builds its tempo map.
  bool open(const std::string& path, std::string* error);
  std::uint32_t length_ms() const;
  // Exact across tempo changes.
  void seek_ms(std::uint32_t ms);
  std::uint32_t position_ms() const;
  // Renders interleaved stereo at `rate`; returns frames written, fewer than asked at the end.
  std::size_t render(float* stereo, std::size_t frames, int rate);
  bool at_end() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace audio
