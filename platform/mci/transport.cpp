#include "platform/mci/transport.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/mci/notify.h"

namespace mci {

namespace {
// How long a wait gives a finished voice's end callback to record the end.
constexpr auto kEndRecordGrace = std::chrono::milliseconds(200);
}  // namespace

// What the engine's end callback and the UI thread share. The callback may run
// after the device is gone, so it holds this by shared_ptr.
struct Transport::Shared {
  explicit Shared(MCIDEVICEID id) : device(id) {}
  const MCIDEVICEID device;
  std::mutex mutex;
  std::condition_variable ended;
  std::uint64_t serial = 0;  // the voice play the callback may still report on
  bool finished = false;
  bool failed = false;  // the finished play could not play its media
  bool lost = false;    // the output device failed under it
  HWND notify = nullptr;
};

Transport::Transport(MCIDEVICEID device, audio::Line line)
    : device_(device), voice_(audio::voice_create(line)), shared_(std::make_shared<Shared>(device)) {}

Transport::~Transport() {
  halt(MCI_NOTIFY_ABORTED);
  audio::voice_destroy(voice_);
}

void Transport::play(std::uint64_t from, std::uint64_t to, audio::Producer producer, HWND notify,
                     EndedInFailure failed) {
  halt(MCI_NOTIFY_SUPERSEDED);
  if (from >= to) {
    // An empty range has ended as soon as it starts.
    {
      std::lock_guard lock(shared_->mutex);
      shared_->lost = false;
    }
    position_ = end_ = std::max(from, to);
    post_notify(notify, MCI_NOTIFY_SUCCESSFUL, device_);
    return;
  }
  std::uint64_t serial;
  {
    std::lock_guard lock(shared_->mutex);
    serial = ++shared_->serial;
    shared_->finished = false;
    shared_->failed = false;
    shared_->lost = false;
    shared_->notify = notify;
  }
  start_ = from;
  end_ = to;
  state_ = State::Playing;
  audio::voice_play(voice_, std::move(producer),
                    [shared = shared_, serial, failed = std::move(failed)](audio::EndReason reason) {
                      if (reason == audio::EndReason::Stopped) return;
                      const bool lost = reason == audio::EndReason::Failed;
                      const bool failure = lost || (failed && failed());
                      HWND window;
                      {
                        std::lock_guard lock(shared->mutex);
                        if (shared->serial != serial || shared->finished) return;
                        shared->finished = true;
                        shared->failed = failure;
                        shared->lost = lost;
                        window = shared->notify;
                        shared->notify = nullptr;
                      }
                      shared->ended.notify_all();
                      post_notify(window, failure ? MCI_NOTIFY_FAILURE : MCI_NOTIFY_SUCCESSFUL, shared->device);
                      if (lost) notice_output_failure(window, shared->device);
                    });
}

void Transport::resume(HWND notify) {
  sync();
  if (state_ != State::Paused) return;
  bool already_ended;
  {
    std::lock_guard lock(shared_->mutex);
    already_ended = shared_->finished;
    if (!already_ended) shared_->notify = notify;
  }
  if (already_ended) {
    post_notify(notify, MCI_NOTIFY_SUCCESSFUL, device_);
    return;
  }
  audio::voice_pause(voice_, false);
  state_ = State::Playing;
}

void Transport::renotify(HWND notify) {
  HWND previous = nullptr;
  bool already_ended, failed;
  {
    std::lock_guard lock(shared_->mutex);
    already_ended = shared_->finished;
    failed = shared_->failed;
    if (!already_ended) {
      previous = shared_->notify;
      shared_->notify = notify;
    }
  }
  post_notify(previous, MCI_NOTIFY_SUPERSEDED, device_);
  if (already_ended) post_notify(notify, failed ? MCI_NOTIFY_FAILURE : MCI_NOTIFY_SUCCESSFUL, device_);
}

void Transport::pause() {
  sync();
  if (state_ != State::Playing) return;
  audio::voice_pause(voice_, true);
  HWND previous;
  {
    std::lock_guard lock(shared_->mutex);
    previous = shared_->notify;
    shared_->notify = nullptr;
  }
  post_notify(previous, MCI_NOTIFY_ABORTED, device_);
  state_ = State::Paused;
}

void Transport::stop() { halt(MCI_NOTIFY_ABORTED); }

void Transport::seek(std::uint64_t frame) {
  halt(MCI_NOTIFY_ABORTED);
  position_ = frame;
}

void Transport::halt(WPARAM code) {
  sync();
  if (state_ == State::Stopped) return;
  const std::uint64_t here = position();
  HWND previous;
  {
    std::lock_guard lock(shared_->mutex);
    ++shared_->serial;  // the old play's end callback no longer reports
    previous = shared_->notify;
    shared_->notify = nullptr;
  }
  audio::voice_stop(voice_);
  state_ = State::Stopped;
  position_ = here;
  shared_->ended.notify_all();
  post_notify(previous, code, device_);
}

void Transport::sync() {
  if (state_ == State::Stopped) return;
  bool failed, lost;
  {
    std::lock_guard lock(shared_->mutex);
    if (!shared_->finished) return;
    failed = shared_->failed;
    lost = shared_->lost;
  }
  state_ = State::Stopped;
  // A device that failed under the play leaves it where the sound stopped.
  if (lost) {
    position_ = std::min(start_ + audio::voice_frames_played(voice_), end_);
  } else {
    position_ = failed ? start_ : end_;
  }
}

Transport::State Transport::state() {
  sync();
  return state_;
}

std::uint64_t Transport::position() {
  sync();
  if (state_ == State::Stopped) return position_;
  return std::min(start_ + audio::voice_frames_played(voice_), end_);
}

bool Transport::wait() {
  const bool fast = audio::device_kind() == audio::DeviceKind::NullFast;
  while (state() == State::Playing) {
    if (fast) {
      // The fast null device only moves when asked to; ask for the rest of the
      // range at once, since every call has a fixed cost.
      const std::uint64_t left = end_ - std::min(end_, position());
      if (audio::run_fast(std::max<std::uint64_t>(left, 512)) == 0 && !audio::voice_active(voice_)) break;
      continue;
    }
    {
      std::unique_lock lock(shared_->mutex);
      if (shared_->ended.wait_for(lock, std::chrono::milliseconds(50), [this] { return shared_->finished; })) {
        continue;
      }
    }
    if (audio::voice_active(voice_)) continue;
    // The voice is done but its end may not be recorded yet: the callback runs
    // on the engine's notifier thread a moment later. Let it run, so the mode
    // reads "stopped" once the wait returns; a voice the engine stopped by
    // itself (shutdown) never reports Finished and leaves the loop here.
    audio::flush_end_callbacks();
    std::unique_lock lock(shared_->mutex);
    if (!shared_->ended.wait_for(lock, kEndRecordGrace, [this] { return shared_->finished; })) break;
  }
  std::lock_guard lock(shared_->mutex);
  return shared_->finished && shared_->lost;
}

}  // namespace mci
