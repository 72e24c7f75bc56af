// Fuzzes the MIDI file reader and its tempo map. For every file it accepts:
// - the length is finite, within the reader's bound, and is the time of its last tick;
// - events are in playing order, each at a finite time within the length;
// - time grows with ticks (sampled over the whole file);
// - a seek to any millisecond lands within one tick: the tick reached at that
//   time starts at or before it and the next tick starts at or after it.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/audio/midi/smf_parser.h"

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// Time values are sums of products of doubles: allow their rounding.
bool at_most(double a, double b) { return a <= b + 1e-6 * std::max(1.0, std::fabs(b)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  audio::midi::Song song;
  std::string error;
  if (!audio::midi::parse_smf(data, size, &song, &error)) {
    check(!error.empty(), "a refused file has no message");
    return 0;
  }
  const audio::midi::TempoMap& tempo = song.tempo;
  check(std::isfinite(song.length_us) && song.length_us >= 0, "the length is not finite");
  check(at_most(song.length_us, audio::midi::kMaxLengthUs), "the length passes the bound");
  check(song.length_us == tempo.tick_to_us(song.length_ticks), "the length is not its last tick's time");

  double previous = 0;
  for (const audio::midi::Event& e : song.events) {
    check(std::isfinite(e.us) && e.us >= previous, "events are out of order");
    check(at_most(e.us, song.length_us), "an event lies past the end");
    check(e.status >= 0x80 && (e.status < 0xF0 || e.status == 0xF0), "an event has a bad status");
    if (e.status == 0xF0)
      check(std::uint64_t{e.sysex_offset} + e.sysex_length <= song.sysex.size(), "sysex bytes out of range");
    previous = e.us;
  }

  constexpr int kSamples = 64;
  double last_us = 0;
  for (int i = 0; i <= kSamples; ++i) {
    const std::uint64_t tick = song.length_ticks / kSamples * i + (i == kSamples ? song.length_ticks % kSamples : 0);
    const double us = tempo.tick_to_us(tick);
    check(std::isfinite(us) && at_most(last_us, us), "time runs backwards");
    last_us = us;
  }

  const double length_ms = std::floor(song.length_us / 1000);
  for (int i = 0; i <= kSamples; ++i) {
    const double us = std::floor(length_ms * i / kSamples) * 1000;
    const double tick = tempo.us_to_tick(us);
    check(std::isfinite(tick) && tick >= 0, "a seek lands on no tick");
    const auto whole = static_cast<std::uint64_t>(tick);
    check(at_most(tempo.tick_to_us(whole), us) && at_most(us, tempo.tick_to_us(whole + 1)),
          "a seek lands more than a tick away");
  }
  return 0;
}
