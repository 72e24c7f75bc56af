#pragma once
// Converts between MIDI ticks and microseconds across tempo changes.
#include <cstdint>
#include <vector>

namespace audio::midi {

class TempoMap {
 public:
  // Metrical time: `ppq` ticks per quarter note, tempo from Set Tempo events
  // (120 bpm until the first one).
  static TempoMap metrical(int ppq);
  // SMPTE time: a fixed `frames_per_second` × `ticks_per_frame` ticks per second
  // (24, 25, 29 = 29.97 drop-frame, 30); tempo events do not apply.
  static TempoMap smpte(int frames_per_second, int ticks_per_frame);

  // Tempo changes must arrive in tick order. Ignored under SMPTE time.
  void set_tempo(std::uint64_t tick, std::uint32_t us_per_quarter);

  double tick_to_us(std::uint64_t tick) const;
  // The (fractional) tick reached at `us`.
  double us_to_tick(double us) const;

 private:
  // From `tick` on, `us_per_unit` microseconds pass per `ticks_per_unit` ticks;
  // kept as a ratio of integers so whole results come out exact.
  struct Segment {
    std::uint64_t tick;
    double us;  // time at `tick`
    double us_per_unit;
    double ticks_per_unit;
  };
  const Segment& segment_at_tick(std::uint64_t tick) const;
  const Segment& segment_at_us(double us) const;

  bool smpte_ = false;
  int ppq_ = 1;
  std::vector<Segment> segments_;
};

}  // namespace audio::midi
