#pragma once
// The texts the deck displays show, from milliseconds and the file format.
#include <string>

#include "decks/decks.h"

// MIDI length and position: hours, minutes (0-59), seconds (0-59), "%02d:%02d:%02d".
std::string midi_time_text(long ms);
// Wave length: minutes not reduced to hours, seconds, milliseconds, "%02d:%02d.%03d".
std::string wave_length_text(long ms);
// Wave position: minutes and seconds, "%02d:%02d".
std::string wave_position_text(long ms);
// "Stereo 44.100KHz 16-bits", "Mono  8.000KHz 8-bits".
std::string wave_format_text(const WaveFormat& format);
// A file name up to this long is centred on the MIDI display; a longer one starts at its left.
constexpr std::size_t kMidiCentredNameMax = 20;
