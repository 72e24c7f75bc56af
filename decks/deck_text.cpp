#include "decks/deck_text.h"

#include <cstdio>

namespace {

// A negative reading (no device answered sensibly) shows as zero.
long at_least_zero(long ms) { return ms < 0 ? 0 : ms; }

}  // namespace

std::string midi_time_text(long ms) {
  ms = at_least_zero(ms);
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60);
  return text;
}

std::string wave_length_text(long ms) {
  ms = at_least_zero(ms);
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld.%03ld", ms / 60000, ms / 1000 % 60, ms % 1000);
  return text;
}

std::string wave_position_text(long ms) {
  ms = at_least_zero(ms);
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld", ms / 60000, ms / 1000 % 60);
  return text;
}

std::string wave_format_text(const WaveFormat& format) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %6.3fKHz %d-bits", format.channels == 2 ? "Stereo" : "Mono",
                format.samples_per_second * 0.001, format.bits_per_sample);
  return text;
}
