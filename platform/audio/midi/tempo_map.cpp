#include "platform/audio/midi/tempo_map.h"

#include <algorithm>

namespace audio::midi {

namespace {
constexpr std::uint32_t kDefaultUsPerQuarter = 500000;  // 120 bpm
}

TempoMap TempoMap::metrical(int ppq) {
  TempoMap map;
  map.ppq_ = ppq;
  map.segments_.push_back({0, 0.0, double(kDefaultUsPerQuarter), double(ppq)});
  return map;
}

TempoMap TempoMap::smpte(int frames_per_second, int ticks_per_frame) {
  TempoMap map;
  map.smpte_ = true;
  // "29" is drop-frame timecode: 30000 frames per 1001 s.
  if (frames_per_second == 29)
    map.segments_.push_back({0, 0.0, 1001e6, 30000.0 * ticks_per_frame});
  else
    map.segments_.push_back({0, 0.0, 1e6, double(frames_per_second) * ticks_per_frame});
  return map;
}

void TempoMap::set_tempo(std::uint64_t tick, std::uint32_t us_per_quarter) {
  if (smpte_ || us_per_quarter == 0) return;
  Segment& last = segments_.back();
  if (tick == last.tick) {  // several changes on one tick: the last one wins
    last.us_per_unit = us_per_quarter;
    return;
  }
  segments_.push_back({tick, tick_to_us(tick), double(us_per_quarter), double(ppq_)});
}

const TempoMap::Segment& TempoMap::segment_at_tick(std::uint64_t tick) const {
  auto after = std::upper_bound(segments_.begin(), segments_.end(), tick,
                                [](std::uint64_t t, const Segment& s) { return t < s.tick; });
  return *(after - 1);
}

const TempoMap::Segment& TempoMap::segment_at_us(double us) const {
  auto after = std::upper_bound(segments_.begin(), segments_.end(), us,
                                [](double u, const Segment& s) { return u < s.us; });
  return after == segments_.begin() ? segments_.front() : *(after - 1);
}

double TempoMap::tick_to_us(std::uint64_t tick) const {
  const Segment& s = segment_at_tick(tick);
  return s.us + double(tick - s.tick) * s.us_per_unit / s.ticks_per_unit;
}

double TempoMap::us_to_tick(double us) const {
  if (us <= 0) return 0;
  const Segment& s = segment_at_us(us);
  return double(s.tick) + (us - s.us) * s.ticks_per_unit / s.us_per_unit;
}

}  // namespace audio::midi
