#pragma once
// A producer that yields exactly `total` frames of `inner`: cut when the range
// ends, padded with silence when the media ends early (a short read, a MIDI file
// whose last note stops before its computed length). Position and end-of-play
// notification then agree with the range the device was asked to play.
#include <cstdint>

#include "platform/audio/engine.h"

namespace mci {

audio::Producer exact_producer(std::uint64_t total, audio::Producer inner);

}  // namespace mci
