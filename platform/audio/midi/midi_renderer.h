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
#include <functional>
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

// Starts loading the default SoundFont on a thread of its own and returns at
// once: nothing when it is loaded or loading. A missing file or one that is no
// SoundFont fails here already; a failed load is tried again by the next call.
// The program calls it at start-up when the MIDI module is shown; opening a
// MIDI device calls it too. Any thread.
void midi_preload_soundfont();
enum class SoundFontState { Loading, Ready, Failed };
// Where the font for new renderers stands (starting the preload when nothing
// is loaded or has failed); `error` gets the reason of a failure. Never waits.
// Any thread.
SoundFontState midi_soundfont_state(std::string* error);
// Waits while the preload runs (never on the UI thread); true when new
// renderers have a font, else false with the reason.
bool midi_wait_for_soundfont(std::string* error);
// Tests: runs on the loading thread before each background load, so a test can
// hold the load back (a gate it opens later). Empty: none.
void midi_set_soundfont_gate(std::function<void()> gate);

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
  // plain error text) and builds its tempo map. Never waits for a SoundFont:
  // it takes the font that is ready, else the first render waits for the
  // preload (which open starts when nothing is loaded).
  // A failed open leaves the renderer with no file.
  bool open(const std::string& path, std::string* error);
  // Time of the last event, end-of-track included.
  std::uint32_t length_ms() const;
  // Exact across tempo changes; a target past the end goes to the end.
  void seek_ms(std::uint32_t ms);
  std::uint32_t position_ms() const;
  // Renders interleaved stereo at `rate`; returns frames written, fewer than asked
  // at the end (after the ring-out). Waits for a SoundFont that is loading; gives
  // nothing when none could be loaded (font_error says why).
  std::size_t render(float* stereo, std::size_t frames, int rate);
  // True once render has delivered everything (or a seek went to the end).
  bool at_end() const;
  // Why render gave nothing: the SoundFont's load failed; "" otherwise. Asked
  // on the rendering thread.
  std::string font_error() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace audio
