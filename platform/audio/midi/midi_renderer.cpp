#include "platform/audio/midi/midi_renderer.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include <fluidsynth.h>

#include "platform/audio/midi/smf_parser.h"
#include "platform/audio/midi/soundfont_store.h"
#include "platform/audio/midi/synth_events.h"

namespace audio {

namespace {
constexpr int kMinRate = 8000;  // FluidSynth's own bounds
constexpr int kMaxRate = 96000;
constexpr std::int64_t kNoSeek = -1;
constexpr std::uint64_t kMaxChunk = 1 << 16;  // frames per synthesizer call
}  // namespace

struct MidiRenderer::Impl {
  midi::Song song;
  bool loaded = false;
  fluid_sfont_t* font = nullptr;  // borrowed from the SoundFont store; null until one is ready
  std::string font_error;

  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  int rate = 0;

  // The playing position is base_us plus `frames` rendered at `rate` since then.
  double base_us = 0;
  std::uint64_t frames = 0;
  std::size_t next_event = 0;
  std::uint64_t ring_out_left = 0;  // frames
  std::uint64_t ring_out_total = 0;

  std::atomic<std::uint32_t> length_ms{0};
  std::atomic<std::uint32_t> position_ms{0};
  std::atomic<std::int64_t> pending_seek{kNoSeek};
  std::atomic<bool> ended{true};

  ~Impl() {
    auto lock = midi::shared_font_lock();
    destroy_synth();
  }

  double position_us() const { return base_us + double(frames) * 1e6 / rate; }
  // Frames from the base to `us`, at the current rate.
  std::uint64_t frame_at(double us) const {
    const long long frame = std::llround((us - base_us) * rate / 1e6);
    return frame > 0 ? std::uint64_t(frame) : 0;
  }

  void publish_position() {
    const double us = std::min(position_us(), song.length_us);
    position_ms.store(std::uint32_t(std::min<long long>(std::llround(us / 1000), length_ms.load())));
  }

  // Called under the shared font lock.
  void destroy_synth() {
    if (!synth) return;
    fluid_synth_remove_sfont(synth, font);  // the store keeps the font
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    synth = nullptr;
    settings = nullptr;
  }

  // The synthesizer runs at one rate; another rate needs a new one, which then
  // catches up with the state at the current position.
  bool ensure_synth(int wanted_rate) {
    if (synth && wanted_rate == rate) return true;
    const double now_us = synth ? position_us() : base_us;
    destroy_synth();
    settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", wanted_rate);
    // Every call is made on the rendering thread under the shared font lock.
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    synth = new_fluid_synth(settings);
    if (!synth) {
      delete_fluid_settings(settings);
      settings = nullptr;
      return false;
    }
    fluid_synth_add_sfont(synth, font);
    rate = wanted_rate;
    place_at(now_us);
    return true;
  }

  // Moves to `us` (under the shared font lock): silence, then replay everything but notes before it.
  void place_at(double us) {
    fluid_synth_system_reset(synth);
    base_us = us;
    frames = 0;
    const auto first_due = std::lower_bound(song.events.begin(), song.events.end(), us,
                                            [](const midi::Event& e, double t) { return e.us < t; });
    next_event = std::size_t(first_due - song.events.begin());
    for (std::size_t i = 0; i < next_event; ++i) {
      if (!song.events[i].is_note()) midi::send_event(synth, song, song.events[i]);
    }
    const bool at_song_end = std::llround(us / 1000) >= length_ms.load();
    ring_out_total = std::uint64_t(rate) * kRingOutMs / 1000;
    ring_out_left = at_song_end ? 0 : ring_out_total;
    ended.store(at_song_end);
  }

  void take_pending_seek() {
    std::int64_t target = pending_seek.load();
    if (target == kNoSeek) return;
    place_at(double(target) * 1000);
    publish_position();
    pending_seek.compare_exchange_strong(target, kNoSeek);  // a newer seek waits for the next render
  }

  void send_due_events() {
    const std::uint64_t now = frames;
    while (next_event < song.events.size() && frame_at(song.events[next_event].us) <= now) {
      midi::send_event(synth, song, song.events[next_event++]);
    }
  }

  void synthesize(float* stereo, std::size_t count) {
    fluid_synth_write_float(synth, int(count), stereo, 0, 2, stereo, 1, 2);
    frames += count;
  }

  // Renders up to `count` frames of the fading ring-out; returns frames written.
  std::size_t ring_out(float* stereo, std::size_t count) {
    const std::size_t n = std::size_t(std::min<std::uint64_t>({count, ring_out_left, kMaxChunk}));
    synthesize(stereo, n);
    for (std::size_t i = 0; i < n; ++i) {
      const float gain = float(ring_out_left - i) / float(ring_out_total);
      stereo[2 * i] *= gain;
      stereo[2 * i + 1] *= gain;
    }
    ring_out_left -= n;
    return n;
  }

  std::size_t render(float* stereo, std::size_t wanted) {
    const std::uint64_t end_frame = frame_at(song.length_us);
    std::size_t done = 0;
    while (done < wanted) {
      send_due_events();
      if (frames >= end_frame) {
        done += ring_out(stereo + 2 * done, wanted - done);
        if (ring_out_left > 0) continue;
        ended.store(true);
        break;
      }
      std::uint64_t stop = std::min(end_frame, frames + kMaxChunk);
      if (next_event < song.events.size()) stop = std::min(stop, frame_at(song.events[next_event].us));
      const std::size_t n = std::size_t(std::min<std::uint64_t>(wanted - done, stop - frames));
      synthesize(stereo + 2 * done, n);
      done += n;
    }
    publish_position();
    return done;
  }
};

MidiRenderer::MidiRenderer() : impl_(std::make_unique<Impl>()) {}
MidiRenderer::~MidiRenderer() = default;

bool MidiRenderer::open(const std::string& path, std::string* error) {
  std::string ignored;
  std::string& why = error ? *error : ignored;
  Impl& d = *impl_;
  {
    auto lock = midi::shared_font_lock();
    d.destroy_synth();
  }
  d.loaded = false;
  d.song = midi::Song{};
  d.length_ms.store(0);
  d.position_ms.store(0);
  d.pending_seek.store(kNoSeek);
  d.ended.store(true);
  midi::quiet_fluid_log();
  if (!midi::load_smf(path, &d.song, &why)) return false;
  d.font = midi::ready_soundfont();
  d.font_error.clear();
  d.length_ms.store(std::uint32_t(std::llround(d.song.length_us / 1000)));
  d.base_us = 0;
  d.frames = 0;
  d.next_event = 0;
  d.rate = 0;
  d.loaded = true;
  d.ended.store(d.song.length_us <= 0);
  return true;
}

std::uint32_t MidiRenderer::length_ms() const { return impl_->length_ms.load(); }

void MidiRenderer::seek_ms(std::uint32_t ms) {
  if (!impl_->loaded) return;
  impl_->pending_seek.store(std::min(ms, impl_->length_ms.load()));
}

std::uint32_t MidiRenderer::position_ms() const {
  const std::int64_t pending = impl_->pending_seek.load();
  return pending != kNoSeek ? std::uint32_t(pending) : impl_->position_ms.load();
}

std::size_t MidiRenderer::render(float* stereo, std::size_t frames, int rate) {
  Impl& d = *impl_;
  if (!d.loaded || rate < kMinRate || rate > kMaxRate) return 0;
  if (!d.font && !(d.font = midi::wait_for_soundfont(&d.font_error))) return 0;
  auto lock = midi::shared_font_lock();
  if (!d.ensure_synth(rate)) return 0;
  d.take_pending_seek();
  if (d.ended.load()) return 0;
  return d.render(stereo, frames);
}

std::string MidiRenderer::font_error() const { return impl_->font_error; }

bool MidiRenderer::at_end() const {
  const std::int64_t pending = impl_->pending_seek.load();
  if (pending != kNoSeek) return pending >= impl_->length_ms.load();
  return impl_->ended.load();
}

}  // namespace audio
