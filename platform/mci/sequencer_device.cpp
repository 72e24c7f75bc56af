// The sequencer driver: a MIDI file rendered by MidiRenderer on the engine's
// reader thread. Positions and lengths are milliseconds.
#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/audio/midi/midi_renderer.h"
#include "platform/mci/drivers.h"
#include "platform/mci/exact_producer.h"
#include "platform/mci/file_check.h"

namespace mci {

namespace {

// The renderer keeps one position, shared by successive plays. A new play's
// producer is made while the old one may still be rendering (a rejected play
// must leave the old one running), so each producer carries a serial: the newest
// seeks on its first block, and an older one only renders silence until the
// engine drops it.
struct SharedRenderer {
  std::mutex mutex;
  std::uint64_t newest = 0;
  audio::MidiRenderer renderer;
};

class SequencerDevice : public Device {
 public:
  SequencerDevice(MCIDEVICEID id, std::shared_ptr<SharedRenderer> midi, std::uint32_t length_ms)
      : Device(id, audio::Line::Synth), midi_(std::move(midi)), length_ms_(length_ms) {}

 protected:
  std::uint64_t media_end() override { return ms_to_frames(length_ms_); }

  MCIERROR producer(std::uint64_t from, std::uint64_t to, audio::Producer* out) override {
    std::uint64_t serial;
    {
      std::lock_guard lock(midi_->mutex);
      serial = ++midi_->newest;
    }
    const auto start_ms = static_cast<std::uint32_t>(frames_to_ms(from));
    audio::Producer render = [midi = midi_, serial, start_ms, seeked = false](float* stereo,
                                                                              std::size_t frames) mutable {
      std::lock_guard lock(midi->mutex);
      if (serial != midi->newest) {
        std::fill(stereo, stereo + 2 * frames, 0.0f);
        return frames;
      }
      if (!seeked) {
        midi->renderer.seek_ms(start_ms);
        seeked = true;
      }
      return midi->renderer.render(stereo, frames, audio::kEngineRate);
    };
    // Played to the end, the last notes ring out before the play counts as ended;
    // the position meanwhile stays at the length.
    const std::uint64_t ring_out = to == media_end() ? ms_to_frames(audio::MidiRenderer::kRingOutMs) : 0;
    *out = exact_producer(to - from + ring_out, std::move(render));
    return 0;
  }

 private:
  std::shared_ptr<SharedRenderer> midi_;
  const std::uint32_t length_ms_;
};

}  // namespace

MCIERROR open_sequencer(const OpenRequest& request, std::unique_ptr<Device>* device) {
  if (MCIERROR err = check_media_file(request.element)) return err;
  std::string error;
  if (!audio::midi_load_soundfont(audio::midi_default_soundfont(), &error)) return MCIERR_NO_SOUNDFONT;
  auto midi = std::make_shared<SharedRenderer>();
  if (!midi->renderer.open(request.element, &error)) return MCIERR_INVALID_FILE;
  const std::uint32_t length = midi->renderer.length_ms();
  *device = std::make_unique<SequencerDevice>(request.id, std::move(midi), length);
  return 0;
}

}  // namespace mci
