#pragma once
// The play state shared by every device: one engine voice playing a range of
// the media, the position in engine frames, and the one pending notification.
//
// Each play that asked for notification ends with exactly one MM_MCINOTIFY:
// successful when the range ran to its end (posted from the engine thread),
// superseded when a newer play replaced it, aborted when stop, pause, seek or
// close cut it short, failure when the output device failed under it (the
// position then stays where the sound stopped, and the user gets the notice
// MCIERR_SOUND_DEVICE_FAILED once).
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/audio/engine.h"
#include "platform/mci/mmsystem.h"

namespace mci {

class Transport {
 public:
  enum class State { Stopped, Playing, Paused };

  Transport(MCIDEVICEID device, audio::Line line);
  ~Transport();
  Transport(const Transport&) = delete;
  Transport& operator=(const Transport&) = delete;

  // Asked when a play has ended: true when the media could not be played after
  // all (a synthesizer without its SoundFont). The play then notifies failure
  // and the position goes back to where it started.
  using EndedInFailure = std::function<bool()>;

  // Plays [from, to) from `producer`, which yields exactly to - from frames.
  void play(std::uint64_t from, std::uint64_t to, audio::Producer producer, HWND notify,
            EndedInFailure failed = {});
  // Continues a paused play; the same end, a new notification target.
  void resume(HWND notify);
  // A play that is already running keeps running; its notification passes to `notify`.
  void renotify(HWND notify);
  void pause();
  // Halts and keeps the position.
  void stop();
  // Halts and moves; a stopped device stays stopped.
  void seek(std::uint64_t frame);
  // Blocks until the running play has ended and its end is recorded (state()
  // then reads Stopped), or until it was stopped from elsewhere. True when the
  // output device failed under it.
  bool wait();

  State state();
  std::uint64_t position();
  // The end of the current or last play range.
  std::uint64_t end() const { return end_; }

 private:
  struct Shared;
  void halt(WPARAM code);
  void sync();

  MCIDEVICEID device_;
  audio::VoiceId voice_;
  std::shared_ptr<Shared> shared_;
  State state_ = State::Stopped;
  std::uint64_t start_ = 0;  // first frame of the current play
  std::uint64_t end_ = 0;
  std::uint64_t position_ = 0;  // when stopped
};

}  // namespace mci
