#pragma once
// Standard MIDI files (format 0 and 1) rendered through FluidSynth into engine
// frames. No FluidSynth audio driver: the engine pulls the samples.
//
// The renderer schedules the file's events into its own synthesizer while it
// renders, so position and seek are exact to the millisecond across tempo
// changes. A seek silences the synthesizer and replays the program, controller,
// pitch-bend and system-exclusive state up to the target, so playing from the
// middle sounds as it does when played through.
//
// Threads: open, render and the destructor are called by one thread at a time
// (the engine's reader thread once playing; open before the first render).
// length_ms, seek_ms, position_ms and at_end may be called from any thread at
// any time: a seek is taken over by the next render.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace audio {

// Loads the SoundFont once per process; slow for large fonts (call it off the UI
// thread). Later calls with the same path return at once. Renderers opened
// afterwards play through the font loaded last.
bool midi_load_soundfont(const std::string& path, std::string* error);
// The SoundFont the platform settings name (QUORVIN_SOUNDFONT, platform.ini),
// else Debian's default GM font.
std::string midi_default_soundfont();

class MidiRenderer {
 public:
  // After the last event the voices ring out this long, fading to silence; the
  // position stays at the length meanwhile.
  static constexpr std::uint32_t kRingOutMs = 250;

  MidiRenderer();
  ~MidiRenderer();
  MidiRenderer(const MidiRenderer&) = delete;
  MidiRenderer& operator=(const MidiRenderer&) = delete;

  // Validates and parses the file (a corrupt or truncated file fails here with a
  // plain error text) and builds its tempo map. Loads the default SoundFont when
  // none is loaded yet, and fails with its error when it cannot be loaded.
  // A failed open leaves the renderer with no file.
  bool open(const std::string& path, std::string* error);
  // Time of the last event, end-of-track included.
  std::uint32_t length_ms() const;
  // Exact across tempo changes; a target past the end goes to the end.
  void seek_ms(std::uint32_t ms);
  std::uint32_t position_ms() const;
  // Renders interleaved stereo at `rate`; returns frames written, fewer than asked
  // at the end (after the ring-out).
  std::size_t render(float* stereo, std::size_t frames, int rate);
  // True once render has delivered everything (or a seek went to the end).
  bool at_end() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace audio
