#pragma once
// Sends parsed MIDI events to a FluidSynth synthesizer.
#include <fluidsynth.h>

#include "platform/audio/midi/smf_parser.h"

namespace audio::midi {

void send_event(fluid_synth_t* synth, const Song& song, const Event& event);

}  // namespace audio::midi
