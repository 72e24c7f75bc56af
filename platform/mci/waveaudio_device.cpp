// The waveaudio driver: a sound file played through the engine's wave reader,
// or a new recording ("open new") made through the Recorder, played back and
// saved. Positions and lengths are milliseconds.
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

class WaveFileDevice : public WaveDevice {
 public:
  WaveFileDevice(MCIDEVICEID id, std::string path, const audio::WaveInfo& info)
      : WaveDevice(id), path_(std::move(path)), info_(info) {}

 protected:
  Format format() const override { return {info_.channels, info_.samples_per_sec, info_.bits_per_sample}; }

  std::uint64_t media_end() override { return to_engine_frames(info_.frames, info_.samples_per_sec); }

  MCIERROR producer(std::uint64_t from, std::uint64_t to, audio::Producer* out) override {
    std::string error;
    audio::Producer file = audio::make_wave_producer(path_, to_source_frames(from, info_.samples_per_sec),
                                                     audio::kToEnd, &error);
    if (!file) return MCIERR_FILE_READ;
    *out = exact_producer(to - from, std::move(file));
    return 0;
  }

 private:
  const std::string path_;
  const audio::WaveInfo info_;
};

class NewRecordingDevice : public WaveDevice {
 public:
  explicit NewRecordingDevice(MCIDEVICEID id) : WaveDevice(id) {
    // The format a new recording has until MCI_SET changes it.
    format_.samples_per_sec = 11025;
    format_.channels = 1;
    format_.bits_per_sample = 8;
  }
  ~NewRecordingDevice() override { stop_recording(MCI_NOTIFY_ABORTED); }

  MCIERROR record(DWORD flags, const MCI_RECORD_PARMS* parms, HWND notify) override {
    if (flags & (MCI_FROM | MCI_TO)) return MCIERR_UNSUPPORTED_FUNCTION;
    (void)parms;
    transport_.stop();
    std::string error;
    if (!recorder_.created() && !recorder_.create(format_, "", &error)) return MCIERR_FILE_WRITE;
    if (recorder_.recording()) {
      post_notify_once(MCI_NOTIFY_SUPERSEDED);
    } else if (!recorder_.record(&error)) {
      return MCIERR_NO_RECORDING_DEVICE;
    }
    record_notify_ = notify;
    return 0;
  }

  MCIERROR stop() override {
    if (recorder_.recording()) {
      stop_recording(MCI_NOTIFY_ABORTED);
      transport_.seek(media_end());
      // The recording keeps what fitted on the disk; say that the rest was lost.
      return recorder_.write_failed() ? MCIERR_FILE_WRITE : 0;
    }
    return Device::stop();
  }

  MCIERROR pause() override {
    if (recorder_.recording()) return stop();
    return Device::pause();
  }

  MCIERROR play(DWORD flags, const MCI_PLAY_PARMS* parms, HWND notify) override {
    if (recorder_.recording()) stop();
    return Device::play(flags, parms, notify);
  }

  MCIERROR seek(DWORD flags, const MCI_SEEK_PARMS* parms) override {
    if (recorder_.recording()) stop();
    return Device::seek(flags, parms);
  }

  MCIERROR save(DWORD flags, const MCI_SAVE_PARMSA* parms) override {
    if (!(flags & MCI_SAVE_FILE) || parms == nullptr || parms->lpfilename == nullptr || !*parms->lpfilename) {
      return MCIERR_MISSING_PARAMETER;
    }
    std::string error;
    if (!recorder_.created() && !recorder_.create(format_, "", &error)) return MCIERR_FILE_NOT_SAVED;
    return recorder_.save(parms->lpfilename, &error) ? 0 : MCIERR_FILE_NOT_SAVED;
  }

 protected:
  Format format() const override { return {format_.channels, format_.samples_per_sec, format_.bits_per_sample}; }

  std::uint64_t media_end() override {
    return recorder_.created() ? to_engine_frames(recorder_.frames(), format_.samples_per_sec) : 0;
  }

  MCIERROR producer(std::uint64_t from, std::uint64_t to, audio::Producer* out) override {
    std::string error;
    audio::Producer recorded = recorder_.make_producer(to_source_frames(from, format_.samples_per_sec),
                                                       audio::kToEnd, &error);
    if (!recorded) return MCIERR_NOTHING_RECORDED;
    *out = exact_producer(to - from, std::move(recorded));
    return 0;
  }

  DWORD mode() override { return recorder_.recording() ? MCI_MODE_RECORD : Device::mode(); }

  MCIERROR status_item(DWORD flags, MCI_STATUS_PARMS* parms) override {
    if (parms->dwItem == MCI_STATUS_POSITION && recorder_.recording() && !(flags & MCI_STATUS_START)) {
      parms->dwReturn = from_frames(media_end());
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

  // The format of the recording: only before anything is recorded.
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
    if (recorder_.created() && recorder_.frames() > 0) return MCIERR_NONAPPLICABLE_FUNCTION;
    format_ = next;
    if (recorder_.created()) recorder_.discard();
    return 0;
  }

 private:
  void stop_recording(WPARAM code) {
    if (!recorder_.recording()) return;
    recorder_.stop();
    post_notify_once(code);
  }
  void post_notify_once(WPARAM code) {
    HWND window = record_notify_;
    record_notify_ = nullptr;
    post_notify(window, code, id_);
  }

  audio::RecordFormat format_;
  audio::Recorder recorder_;
  HWND record_notify_ = nullptr;
};

}  // namespace

MCIERROR open_waveaudio(const OpenRequest& request, std::unique_ptr<Device>* device) {
  if (same_word(request.element, "new")) {
    *device = std::make_unique<NewRecordingDevice>(request.id);
    return 0;
  }
  if (MCIERROR err = check_media_file(request.element)) return err;
  audio::WaveInfo info;
  std::string error;
  if (!audio::wave_file_info(request.element, &info, &error) || info.samples_per_sec <= 0) return MCIERR_INVALID_FILE;
  *device = std::make_unique<WaveFileDevice>(request.id, request.element, info);
  return 0;
}

}  // namespace mci
