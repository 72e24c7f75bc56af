// The sequencer driver: a MIDI file rendered by MidiRenderer on the engine's
// reader thread. Positions and lengths are milliseconds.
//
// The SoundFont never holds up the caller: open only parses the file (and
// starts the font's preload), and a play made while the font loads is taken at
// once; its producer waits for the font on the reader thread, so the position
// stays at the start and the mode reads "playing" until the first notes sound.
// A font known to be missing fails the play with MCIERR_NO_SOUNDFONT; one that
// fails while a play waits ends that play with MCI_NOTIFY_FAILURE.
#include <algorithm>
#include <atomic>
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

  MCIERROR play(DWORD flags, const MCI_PLAY_PARMS* parms, HWND notify) override {
    std::string error;
    if (audio::midi_soundfont_state(&error) == audio::SoundFontState::Failed) return MCIERR_NO_SOUNDFONT;
    return Device::play(flags, parms, notify);
  }

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
    // The wait for the font comes first and outside the renderer's lock, which
    // the next play's producer takes on the caller's thread.
    auto failed = std::make_shared<std::atomic<bool>>(false);
    last_play_failed_ = failed;
    *out = [exact = exact_producer(to - from + ring_out, std::move(render)), failed,
            font_checked = false](float* stereo, std::size_t frames) mutable -> std::size_t {
      if (!font_checked) {
        std::string error;
        failed->store(!audio::midi_wait_for_soundfont(&error));
        font_checked = true;
      }
      return failed->load() ? 0 : exact(stereo, frames);
    };
    return 0;
  }

  // Asked right after producer(): the play it made failed when its font did.
  Transport::EndedInFailure ended_in_failure() override {
    return [failed = last_play_failed_] { return failed && failed->load(); };
  }

 private:
  std::shared_ptr<SharedRenderer> midi_;
  const std::uint32_t length_ms_;
  std::shared_ptr<std::atomic<bool>> last_play_failed_;
};

}  // namespace

MCIERROR open_sequencer(const OpenRequest& request, std::unique_ptr<Device>* device) {
  if (MCIERROR err = check_media_file(request.element)) return err;
  audio::midi_preload_soundfont();
  auto midi = std::make_shared<SharedRenderer>();
  std::string error;
  if (!midi->renderer.open(request.element, &error)) return MCIERR_INVALID_FILE;
  const std::uint32_t length = midi->renderer.length_ms();
  *device = std::make_unique<SequencerDevice>(request.id, std::move(midi), length);
  return 0;
}

}  // namespace mci
