// The waveaudio driver: a sound file played through the engine's wave reader,
// or a new recording ("open new"); either records through the Recorder, plays
// back and saves. Positions and lengths are milliseconds.
//
// "record" records from the current position over what is there; "stop" leaves
// the position where the take ended. A full disk ends a take at once: "status
// mode" then reads "stopped", a "record ... notify" gets MCI_NOTIFY_FAILURE
// (posted when the device is next asked anything), and the next "stop" answers
// MCIERR_FILE_WRITE. What fitted stays recorded. A recording device that stops
// working (unplugged) ends the take the same way; its "stop" answers
// MCIERR_RECORDING_DEVICE_FAILED.
//
// A file cut short while it plays ends early into silence and the play runs to
// the length the file had when opened; one deleted while it plays sounds to its
// end (it is held open), and a later play answers MCIERR_FILE_READ.
//
// "load <alias> <file>" takes over a recording a crashed rack left behind
// (audio::orphaned_recordings) as this device's unsaved recording; closing the
// device deletes it, as it deletes every temporary recording.
#include <memory>

#include "platform/audio/recorder.h"
#include "platform/audio/wave_file.h"
#include "platform/mci/drivers.h"
#include "platform/mci/exact_producer.h"
#include "platform/mci/file_check.h"
#include "platform/mci/notify.h"
#include "platform/mci/tokenizer.h"

namespace mci {

namespace {

std::uint64_t to_engine_frames(std::uint64_t source_frames, int rate) {
  return (source_frames * audio::kEngineRate + rate / 2) / rate;
}
std::uint64_t to_source_frames(std::uint64_t engine_frames, int rate) {
  return (engine_frames * rate + audio::kEngineRate / 2) / audio::kEngineRate;
}

// What the common status items answer for both kinds.
struct Format {
  int channels;
  int rate;
  int bits;
};

class WaveDevice : public Device {
 public:
  explicit WaveDevice(MCIDEVICEID id) : Device(id, audio::Line::Wave) {}

 protected:
  virtual Format format() const = 0;

  MCIERROR status_item(DWORD flags, MCI_STATUS_PARMS* parms) override {
    const Format f = format();
    const DWORD align = static_cast<DWORD>(f.channels * ((f.bits + 7) / 8));
    switch (parms->dwItem) {
      case MCI_WAVE_STATUS_FORMATTAG:
        parms->dwReturn = WAVE_FORMAT_PCM;
        return 0;
      case MCI_WAVE_STATUS_CHANNELS:
        parms->dwReturn = static_cast<DWORD>(f.channels);
        return 0;
      case MCI_WAVE_STATUS_SAMPLESPERSEC:
        parms->dwReturn = static_cast<DWORD>(f.rate);
        return 0;
      case MCI_WAVE_STATUS_AVGBYTESPERSEC:
        parms->dwReturn = saturated_dword(std::uint64_t{align} * static_cast<std::uint64_t>(f.rate));
        return 0;
      case MCI_WAVE_STATUS_BLOCKALIGN:
        parms->dwReturn = align;
        return 0;
      case MCI_WAVE_STATUS_BITSPERSAMPLE:
        parms->dwReturn = static_cast<DWORD>(f.bits);
        return 0;
      default:
        return Device::status_item(flags, parms);
    }
  }
};

// One device for both kinds: a file opened for play, and a new recording. Both
// record as a tape does, over what is there from the current position; the
// first take (or a save) turns the file's sound into a PCM recording kept in a
// temporary file, so the file itself is only read until a save replaces it.
class WaveAudioDevice : public WaveDevice {
 public:
  // `source` is "" for a new recording.
  WaveAudioDevice(MCIDEVICEID id, std::string source, const audio::WaveInfo& info)
      : WaveDevice(id), source_(std::move(source)), info_(info) {
    // The format a new recording has until MCI_SET changes it.
    format_.samples_per_sec = 11025;
    format_.channels = 1;
    format_.bits_per_sample = 8;
  }
  ~WaveAudioDevice() override { finish_take(MCI_NOTIFY_ABORTED); }

  MCIERROR record(DWORD flags, const MCI_RECORD_PARMS* parms, HWND notify) override {
    if (flags & (MCI_FROM | MCI_TO)) return MCIERR_UNSUPPORTED_FUNCTION;
    (void)parms;
    if (taking_ && recorder_.recording()) {
      post_notify_once(MCI_NOTIFY_SUPERSEDED);
      record_notify_ = notify;
      return 0;
    }
    finish_take(MCI_NOTIFY_ABORTED);
    // Nothing changes when there is nothing to record from.
    if (!audio::record_source_problem().empty()) return MCIERR_NO_RECORDING_DEVICE;
    const std::uint64_t start = to_source_frames(transport_.position(), format().rate);
    transport_.stop();
    if (MCIERROR err = ensure_recording()) return err;
    std::string error;
    if (!recorder_.record(start, &error)) return MCIERR_NO_RECORDING_DEVICE;
    taking_ = true;
    take_fault_ = 0;
    record_notify_ = notify;
    return 0;
  }

  MCIERROR stop() override {
    poll_take();
    if (finish_take(MCI_NOTIFY_ABORTED) || take_fault_) {
      // The recording keeps what came before; say once that the rest was lost.
      const MCIERROR fault = take_fault_ ? take_fault_ : recorder_fault();
      take_fault_ = 0;
      return fault;
    }
    return Device::stop();
  }

  MCIERROR pause() override {
    if (taking_) return stop();
    return Device::pause();
  }

  MCIERROR play(DWORD flags, const MCI_PLAY_PARMS* parms, HWND notify) override {
    finish_take(MCI_NOTIFY_ABORTED);
    return Device::play(flags, parms, notify);
  }

  MCIERROR seek(DWORD flags, const MCI_SEEK_PARMS* parms) override {
    finish_take(MCI_NOTIFY_ABORTED);
    return Device::seek(flags, parms);
  }

  MCIERROR save(DWORD flags, const MCI_SAVE_PARMSA* parms) override {
    if (!(flags & MCI_SAVE_FILE) || parms == nullptr || parms->lpfilename == nullptr || !*parms->lpfilename) {
      return MCIERR_MISSING_PARAMETER;
    }
    if (ensure_recording() != 0) return MCIERR_FILE_NOT_SAVED;
    std::string error;
    return recorder_.save(parms->lpfilename, &error) ? 0 : MCIERR_FILE_NOT_SAVED;
  }

  // A recording a crashed rack left behind becomes this device's recording,
  // still to be saved; the device deletes it when closed, as its own.
  MCIERROR load(DWORD flags, const MCI_LOAD_PARMSA* parms) override {
    if (!(flags & MCI_LOAD_FILE) || parms == nullptr || parms->lpfilename == nullptr || !*parms->lpfilename) {
      return MCIERR_MISSING_PARAMETER;
    }
    if (taking_) return MCIERR_NONAPPLICABLE_FUNCTION;
    transport_.stop();
    std::string error;
    if (!recorder_.adopt(parms->lpfilename, &error)) return MCIERR_FILE_READ;
    transport_.seek(0);
    return 0;
  }

 protected:
  Format format() const override {
    if (recorder_.created()) {
      const audio::RecordFormat& f = recorder_.format();
      return {f.channels, f.samples_per_sec, f.bits_per_sample};
    }
    if (!source_.empty()) return {info_.channels, info_.samples_per_sec, info_.bits_per_sample};
    return {format_.channels, format_.samples_per_sec, format_.bits_per_sample};
  }

  std::uint64_t media_end() override {
    if (recorder_.created()) return to_engine_frames(recorder_.frames(), format().rate);
    return source_.empty() ? 0 : to_engine_frames(info_.frames, info_.samples_per_sec);
  }

  MCIERROR producer(std::uint64_t from, std::uint64_t to, audio::Producer* out) override {
    std::string error;
    const std::uint64_t start = to_source_frames(from, format().rate);
    audio::Producer media = recorder_.created() ? recorder_.make_producer(start, audio::kToEnd, &error)
                                                : audio::make_wave_producer(source_, start, audio::kToEnd, &error);
    if (!media) return recorder_.created() || source_.empty() ? MCIERR_NOTHING_RECORDED : MCIERR_FILE_READ;
    *out = exact_producer(to - from, std::move(media));
    return 0;
  }

  DWORD mode() override {
    poll_take();
    return recorder_.recording() ? MCI_MODE_RECORD : Device::mode();
  }

  MCIERROR status_item(DWORD flags, MCI_STATUS_PARMS* parms) override {
    poll_take();
    if (parms->dwItem == MCI_STATUS_POSITION && taking_ && !(flags & (MCI_STATUS_START | MCI_TRACK))) {
      parms->dwReturn = from_frames(to_engine_frames(recorder_.head(), format().rate));
      return 0;
    }
    return WaveDevice::status_item(flags, parms);
  }

  MCIERROR capability(DWORD item, DWORD* value) override {
    if (item == MCI_GETDEVCAPS_CAN_RECORD || item == MCI_GETDEVCAPS_CAN_SAVE) {
      *value = TRUE;
      return 0;
    }
    return WaveDevice::capability(item, value);
  }

  // The format of a new recording: only before anything is recorded.
  MCIERROR set_other(DWORD flags, const MCI_SET_PARMS* parms) override {
    constexpr DWORD kWaveFlags = MCI_WAVE_SET_FORMATTAG | MCI_WAVE_SET_CHANNELS | MCI_WAVE_SET_SAMPLESPERSEC |
                                 MCI_WAVE_SET_AVGBYTESPERSEC | MCI_WAVE_SET_BLOCKALIGN | MCI_WAVE_SET_BITSPERSAMPLE;
    if (flags & ~kWaveFlags) return Device::set_other(flags & ~kWaveFlags, parms);
    const auto* wave = reinterpret_cast<const MCI_WAVE_SET_PARMS*>(parms);
    audio::RecordFormat next = format_;
    if ((flags & MCI_WAVE_SET_FORMATTAG) && wave->wFormatTag != WAVE_FORMAT_PCM) return MCIERR_OUTOFRANGE;
    if (flags & MCI_WAVE_SET_CHANNELS) next.channels = wave->nChannels;
    if (flags & MCI_WAVE_SET_SAMPLESPERSEC) next.samples_per_sec = static_cast<int>(wave->nSamplesPerSec);
    if (flags & MCI_WAVE_SET_BITSPERSAMPLE) next.bits_per_sample = wave->wBitsPerSample;
    if (next.channels < 1 || next.channels > 2) return MCIERR_OUTOFRANGE;
    if (next.samples_per_sec < 1000 || next.samples_per_sec > 192000) return MCIERR_OUTOFRANGE;
    if (next.bits_per_sample != 8 && next.bits_per_sample != 16 && next.bits_per_sample != 24) {
      return MCIERR_OUTOFRANGE;
    }
    // Block align and bytes per second follow from the three above; values that
    // disagree are refused rather than silently recorded in another format.
    const DWORD align = static_cast<DWORD>(next.channels * next.bits_per_sample / 8);
    if ((flags & MCI_WAVE_SET_BLOCKALIGN) && wave->nBlockAlign != align) return MCIERR_OUTOFRANGE;
    if ((flags & MCI_WAVE_SET_AVGBYTESPERSEC) &&
        wave->nAvgBytesPerSec != align * static_cast<DWORD>(next.samples_per_sec)) {
      return MCIERR_OUTOFRANGE;
    }
    // A file keeps its own format; a recording keeps the one it was made in.
    if (!source_.empty() || (recorder_.created() && recorder_.frames() > 0)) return MCIERR_NONAPPLICABLE_FUNCTION;
    format_ = next;
    if (recorder_.created()) recorder_.discard();
    return 0;
  }

 private:
  // The recording to record into or save: made on first need.
  MCIERROR ensure_recording() {
    if (recorder_.created()) return 0;
    std::string error;
    const bool made = source_.empty() ? recorder_.create(format_, "", &error) : recorder_.create_from_file(source_, &error);
    return made ? 0 : MCIERR_FILE_WRITE;
  }

  // Why the recorder's last take ended before it was stopped, if it did.
  MCIERROR recorder_fault() const {
    if (recorder_.write_failed()) return MCIERR_FILE_WRITE;
    if (recorder_.source_failed()) return MCIERR_RECORDING_DEVICE_FAILED;
    return 0;
  }

  // A take the disk or the device cut short ends here, the next time anyone looks.
  void poll_take() {
    if (taking_ && recorder_fault()) {
      finish_take(MCI_NOTIFY_FAILURE);
      take_fault_ = recorder_fault();
    }
  }

  // Ends the take: the position is where it ended, the notification goes out.
  bool finish_take(WPARAM code) {
    if (!taking_) return false;
    taking_ = false;
    recorder_.stop();
    transport_.seek(to_engine_frames(recorder_.head(), format().rate));
    post_notify_once(code);
    return true;
  }

  void post_notify_once(WPARAM code) {
    HWND window = record_notify_;
    record_notify_ = nullptr;
    post_notify(window, code, id_);
  }

  const std::string source_;
  const audio::WaveInfo info_;
  audio::RecordFormat format_;
  audio::Recorder recorder_;
  bool taking_ = false;      // a take runs, or a fault ended it and nobody has looked yet
  MCIERROR take_fault_ = 0;  // what ended the last take; the next stop says so
  HWND record_notify_ = nullptr;
};

}  // namespace

MCIERROR open_waveaudio(const OpenRequest& request, std::unique_ptr<Device>* device) {
  if (same_word(request.element, "new")) {
    *device = std::make_unique<WaveAudioDevice>(request.id, "", audio::WaveInfo{});
    return 0;
  }
  if (MCIERROR err = check_media_file(request.element)) return err;
  audio::WaveInfo info;
  std::string error;
  if (!audio::wave_file_info(request.element, &info, &error) || info.samples_per_sec <= 0) return MCIERR_INVALID_FILE;
  *device = std::make_unique<WaveAudioDevice>(request.id, request.element, info);
  return 0;
}

}  // namespace mci
