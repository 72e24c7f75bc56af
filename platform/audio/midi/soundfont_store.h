#pragma once
// The process-wide SoundFont store behind midi_load_soundfont and
// midi_preload_soundfont: each font is
// loaded once into a holder synthesizer that never plays, and every renderer's
// synthesizer borrows the loaded font (fluid_synth_add_sfont) instead of
// parsing the file again (FluidR3 takes 0.1 s even with its samples cached).
//
// Borrowed fonts are shared data: FluidSynth counts sample users without
// atomics, so every call into a synthesizer that holds a borrowed font is made
// under shared_font_lock().
#include <mutex>
#include <string>

#include <fluidsynth.h>

namespace audio::midi {

// Installs the quiet FluidSynth log handler (once per process). Errors are kept
// per thread for error texts; nothing reaches stderr.
void quiet_fluid_log();
// The last error FluidSynth logged on this thread, cleared by reading.
std::string take_fluid_error();

// The font new renderers play through: the one loaded last, by
// midi_load_soundfont or by the preload of the default font. Null while the
// preload runs or when there is none; starts the preload when nothing is loaded
// and no load has failed (midi_preload_soundfont tries a failed one again).
fluid_sfont_t* ready_soundfont();
// The same, waiting for a preload that runs. Null with the error text when the
// font cannot be loaded. Not under shared_font_lock(): the load takes it.
fluid_sfont_t* wait_for_soundfont(std::string* error);

std::unique_lock<std::mutex> shared_font_lock();

}  // namespace audio::midi
