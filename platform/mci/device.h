#pragma once
// One open MCI device. The base carries what every device shares (the play,
// pause, stop and seek state machine, time formats, the common status items);
// each driver adds its media: how long it is, how to stream a range of it, and
// its own status items, time formats and controls.
//
// Positions inside are engine frames (audio::kEngineRate per second) from the
// media's own origin: 0 for a file, sector × 588 for a disc.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/engine.h"
#include "platform/mci/mmsystem.h"
#include "platform/mci/transport.h"

namespace mci {

struct OpenRequest {
  MCIDEVICEID id = 0;
  std::string type;     // lower case: "waveaudio", "sequencer", "cdaudio"
  std::string element;  // a path, "new", or "" for a device without files
};

class Device {
 public:
  Device(MCIDEVICEID id, audio::Line line);
  virtual ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  MCIDEVICEID id() const { return id_; }

  // Command messages; `notify` is the window for MM_MCINOTIFY or null.
  virtual MCIERROR play(DWORD flags, const MCI_PLAY_PARMS* parms, HWND notify);
  virtual MCIERROR stop();
  virtual MCIERROR pause();
  virtual MCIERROR resume(HWND notify);
  virtual MCIERROR seek(DWORD flags, const MCI_SEEK_PARMS* parms);
  MCIERROR status(DWORD flags, MCI_STATUS_PARMS* parms);
  // `parms` is an MCI_SET_PARMS, or for wave flags an MCI_WAVE_SET_PARMS.
  MCIERROR set(DWORD flags, const MCI_SET_PARMS* parms);
  MCIERROR getdevcaps(DWORD flags, MCI_GETDEVCAPS_PARMS* parms);
  virtual MCIERROR record(DWORD flags, const MCI_RECORD_PARMS* parms, HWND notify);
  virtual MCIERROR save(DWORD flags, const MCI_SAVE_PARMSA* parms);
  virtual MCIERROR load(DWORD flags, const MCI_LOAD_PARMSA* parms);

  DWORD time_format() const { return time_format_; }

 protected:
  // The media.
  virtual MCIERROR check_ready() { return 0; }
  virtual std::uint64_t media_start() { return 0; }
  virtual std::uint64_t media_end() = 0;
  // A producer yielding exactly to - from frames of [from, to).
  virtual MCIERROR producer(std::uint64_t from, std::uint64_t to, audio::Producer* out) = 0;
  // How the transport learns, when the play producer() just made has ended,
  // that it could not play its media after all. None by default.
  virtual Transport::EndedInFailure ended_in_failure() { return {}; }

  // Time formats: the base knows milliseconds.
  virtual bool supports_time_format(DWORD format) const { return format == MCI_FORMAT_MILLISECONDS; }
  virtual MCIERROR to_frames(DWORD value, std::uint64_t* frame);
  // Replies are 32 bits wide: a time past 4294967295 ms (49.7 days) answers that
  // largest value, never a small wrapped one. An error would leave a caller's
  // last answer (another medium's length) standing; the largest value keeps
  // every position at or below the length and both rising.
  virtual DWORD from_frames(std::uint64_t frame);
  virtual DWORD length_value(std::uint64_t frames) { return from_frames(frames); }

  // Hooks for what differs per device.
  virtual DWORD mode();
  virtual MCIERROR status_item(DWORD flags, MCI_STATUS_PARMS* parms);
  virtual MCIERROR capability(DWORD item, DWORD* value);
  // Flags the base does not know (door, wave format); return the error for any left.
  virtual MCIERROR set_other(DWORD flags, const MCI_SET_PARMS* parms);

  // Plays [from, to) through the transport, or resumes when that is what was asked.
  MCIERROR start_play(bool has_from, std::uint64_t from, std::uint64_t to, DWORD flags, HWND notify);

  const MCIDEVICEID id_;
  DWORD time_format_ = MCI_FORMAT_MILLISECONDS;
  Transport transport_;
};

// Milliseconds <-> engine frames, rounding to the nearest.
std::uint64_t ms_to_frames(std::uint64_t ms);
std::uint64_t frames_to_ms(std::uint64_t frames);
// `value`, or the largest DWORD when it does not fit.
DWORD saturated_dword(std::uint64_t value);

}  // namespace mci
