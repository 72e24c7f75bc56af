#include "platform/mci/device.h"

#include <algorithm>
#include <limits>

namespace mci {

std::uint64_t ms_to_frames(std::uint64_t ms) { return (ms * audio::kEngineRate + 500) / 1000; }
std::uint64_t frames_to_ms(std::uint64_t frames) {
  // In two parts so that no frame count overflows on the way.
  constexpr std::uint64_t rate = audio::kEngineRate;
  return frames / rate * 1000 + (frames % rate * 1000 + rate / 2) / rate;
}

DWORD saturated_dword(std::uint64_t value) {
  return static_cast<DWORD>(std::min<std::uint64_t>(value, std::numeric_limits<DWORD>::max()));
}

Device::Device(MCIDEVICEID id, audio::Line line) : id_(id), transport_(id, line) {}
Device::~Device() = default;

MCIERROR Device::to_frames(DWORD value, std::uint64_t* frame) {
  *frame = ms_to_frames(value);
  return 0;
}

DWORD Device::from_frames(std::uint64_t frame) { return saturated_dword(frames_to_ms(frame)); }

MCIERROR Device::play(DWORD flags, const MCI_PLAY_PARMS* parms, HWND notify) {
  if ((flags & (MCI_FROM | MCI_TO)) && parms == nullptr) return MCIERR_NULL_PARAMETER_BLOCK;
  if (MCIERROR err = check_ready()) return err;
  std::uint64_t from = 0;
  std::uint64_t to = media_end();
  if (flags & MCI_FROM) {
    if (MCIERROR err = to_frames(parms->dwFrom, &from)) return err;
  }
  if (flags & MCI_TO) {
    if (MCIERROR err = to_frames(parms->dwTo, &to)) return err;
  }
  return start_play(flags & MCI_FROM, from, to, flags, notify);
}

MCIERROR Device::start_play(bool has_from, std::uint64_t from, std::uint64_t to, DWORD flags, HWND notify) {
  const Transport::State state = transport_.state();
  if (!has_from) from = transport_.position();
  if (from < media_start() || from > media_end() || to < media_start() || to > media_end() || from > to) {
    return MCIERR_OUTOFRANGE;
  }
  if (!has_from && to == transport_.end() && state == Transport::State::Paused) {
    transport_.resume(notify);
  } else if (!has_from && to == transport_.end() && state == Transport::State::Playing) {
    transport_.renotify(notify);
  } else {
    // An empty range needs no media: it ends as it starts.
    audio::Producer source;
    if (from < to) {
      if (MCIERROR err = producer(from, to, &source)) return err;
    }
    transport_.play(from, to, std::move(source), notify, ended_in_failure());
  }
  // A play waited for that the sound device cut short is not a success.
  if ((flags & MCI_WAIT) && transport_.wait()) return MCIERR_SOUND_DEVICE_FAILED;
  return 0;
}

MCIERROR Device::stop() {
  transport_.stop();
  return 0;
}

MCIERROR Device::pause() {
  if (MCIERROR err = check_ready()) return err;
  transport_.pause();
  return 0;
}

MCIERROR Device::resume(HWND notify) {
  if (transport_.state() != Transport::State::Paused) return 0;
  transport_.resume(notify);
  return 0;
}

MCIERROR Device::seek(DWORD flags, const MCI_SEEK_PARMS* parms) {
  const DWORD targets = flags & (MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO);
  if (targets == 0) return MCIERR_MISSING_PARAMETER;
  if (targets != MCI_SEEK_TO_START && targets != MCI_SEEK_TO_END && targets != MCI_TO) {
    return MCIERR_FLAGS_NOT_COMPATIBLE;
  }
  if (MCIERROR err = check_ready()) return err;
  std::uint64_t frame = media_start();
  if (targets == MCI_SEEK_TO_END) frame = media_end();
  if (targets == MCI_TO) {
    if (parms == nullptr) return MCIERR_NULL_PARAMETER_BLOCK;
    if (MCIERROR err = to_frames(parms->dwTo, &frame)) return err;
    if (frame < media_start() || frame > media_end()) return MCIERR_OUTOFRANGE;
  }
  transport_.seek(frame);
  return 0;
}

MCIERROR Device::status(DWORD flags, MCI_STATUS_PARMS* parms) {
  if (parms == nullptr) return MCIERR_NULL_PARAMETER_BLOCK;
  if (!(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
  switch (parms->dwItem) {
    case MCI_STATUS_MODE:
      parms->dwReturn = mode();
      return 0;
    case MCI_STATUS_TIME_FORMAT:
      parms->dwReturn = time_format_;
      return 0;
    default:
      return status_item(flags, parms);
  }
}

DWORD Device::mode() {
  switch (transport_.state()) {
    case Transport::State::Playing:
      return MCI_MODE_PLAY;
    case Transport::State::Paused:
      return MCI_MODE_PAUSE;
    case Transport::State::Stopped:
      break;
  }
  return MCI_MODE_STOP;
}

MCIERROR Device::status_item(DWORD flags, MCI_STATUS_PARMS* parms) {
  switch (parms->dwItem) {
    case MCI_STATUS_LENGTH:
      if (flags & MCI_TRACK) {
        if (parms->dwTrack != 1) return MCIERR_OUTOFRANGE;
      }
      parms->dwReturn = length_value(media_end() - media_start());
      return 0;
    case MCI_STATUS_POSITION:
      if (flags & MCI_TRACK) {
        if (parms->dwTrack != 1) return MCIERR_OUTOFRANGE;
        parms->dwReturn = from_frames(media_start());
        return 0;
      }
      parms->dwReturn = from_frames((flags & MCI_STATUS_START) ? media_start() : transport_.position());
      return 0;
    case MCI_STATUS_NUMBER_OF_TRACKS:
    case MCI_STATUS_CURRENT_TRACK:
      parms->dwReturn = 1;
      return 0;
    case MCI_STATUS_MEDIA_PRESENT:
    case MCI_STATUS_READY:
      parms->dwReturn = TRUE;
      return 0;
    default:
      return MCIERR_UNSUPPORTED_FUNCTION;
  }
}

MCIERROR Device::set(DWORD flags, const MCI_SET_PARMS* parms) {
  if (parms == nullptr && (flags & ~(MCI_NOTIFY | MCI_WAIT))) return MCIERR_NULL_PARAMETER_BLOCK;
  if (flags & MCI_SET_TIME_FORMAT) {
    if (!supports_time_format(parms->dwTimeFormat)) return MCIERR_BAD_TIME_FORMAT;
    time_format_ = parms->dwTimeFormat;
  }
  const DWORD others = flags & ~(MCI_NOTIFY | MCI_WAIT | MCI_SET_TIME_FORMAT);
  if (others == 0) return 0;
  return set_other(others, parms);
}

MCIERROR Device::set_other(DWORD /*flags*/, const MCI_SET_PARMS* /*parms*/) {
  return MCIERR_UNSUPPORTED_FUNCTION;
}

MCIERROR Device::getdevcaps(DWORD flags, MCI_GETDEVCAPS_PARMS* parms) {
  if (parms == nullptr) return MCIERR_NULL_PARAMETER_BLOCK;
  if (!(flags & MCI_GETDEVCAPS_ITEM)) return MCIERR_MISSING_PARAMETER;
  return capability(parms->dwItem, &parms->dwReturn);
}

MCIERROR Device::capability(DWORD item, DWORD* value) {
  switch (item) {
    case MCI_GETDEVCAPS_CAN_PLAY:
    case MCI_GETDEVCAPS_HAS_AUDIO:
    case MCI_GETDEVCAPS_USES_FILES:
      *value = TRUE;
      return 0;
    case MCI_GETDEVCAPS_CAN_EJECT:
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_CAN_SAVE:
      *value = FALSE;
      return 0;
    default:
      return MCIERR_UNSUPPORTED_FUNCTION;
  }
}

MCIERROR Device::record(DWORD, const MCI_RECORD_PARMS*, HWND) { return MCIERR_UNSUPPORTED_FUNCTION; }
MCIERROR Device::save(DWORD, const MCI_SAVE_PARMSA*) { return MCIERR_UNSUPPORTED_FUNCTION; }
MCIERROR Device::load(DWORD, const MCI_LOAD_PARMSA*) { return MCIERR_UNSUPPORTED_FUNCTION; }

}  // namespace mci
