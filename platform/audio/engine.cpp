// The engine core: voices, the mixing graph, and the threads around it.
//
// Who touches what:
// - The UI thread (every API call) owns the voice table and sends commands to
//   the mixer through a lock-free queue.
// - The mixer runs in the output device's callback (or in run_fast's caller on
//   the fast null device). It drains the commands, pulls frames from each
//   play's ring, mixes and hands ended plays to the notifier through a second
//   lock-free queue. It takes no lock and allocates nothing.
// - When the output device stops by itself, the notifier (or run_fast's
//   caller) closes it with the mixer idle, ends every play with Failed and
//   opens the silent device in its place.
// - One reader thread per mixed line runs the producers ahead of time into the
//   rings, so a disc spinning up never starves a wave file.
// - The notifier thread runs the end callbacks and frees what the mixer let go.
// - While nothing plays or records the engine rests: the notifier stops the
//   output device (a second after the last play, so the next track of a
//   programme finds it running) and every thread waits on a condition
//   variable, so an idle player costs no wake-ups. A paused play with frames
//   in its ring lets it rest too; resuming starts the device again. A reader
//   starts the device again once the first frames of a new play are in its
//   ring, which keeps the wait from the play command to the first sample as
//   short as before.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/audio/drivers.h"
#include "platform/audio/engine.h"
#include "platform/audio/engine_internal.h"
#include "platform/audio/frame_ring.h"
#include "platform/audio/mix_graph.h"
#include "platform/audio/spsc_queue.h"
#include "platform/settings.h"

namespace audio {
namespace {

using internal::kLineCount;

constexpr int kMaxVoices = 32;
constexpr std::size_t kMaxActive = 64;
constexpr std::size_t kRingFrames = 32768;  // about 0.75 s read ahead
constexpr std::size_t kFillChunk = 4096;
constexpr std::size_t kMaxBlock = 4096;      // longer device periods are mixed in pieces
constexpr auto kReaderIdle = std::chrono::milliseconds(20);  // the ring holds 750 ms
constexpr auto kNotifierIdle = std::chrono::milliseconds(4);  // polled: the mixer must not wake anyone
constexpr auto kIdleLinger = std::chrono::seconds(1);        // idle this long: the output stops
constexpr Line kMixedLines[] = {Line::Synth, Line::Wave, Line::CD};

struct Play {
  Play(Line l, Producer p, EndCallback e)
      : line(l), ring(kRingFrames, kEngineChannels), producer(std::move(p)), on_end(std::move(e)) {}
  const Line line;
  FrameRing ring;
  std::mutex fill_mutex;  // the reader's or run_fast's while a producer runs
  Producer producer;
  EndCallback on_end;     // the notifier's
  std::atomic<bool> producer_done{false};
  std::atomic<bool> cancelled{false};
  std::atomic<bool> paused{false};
  std::atomic<bool> ended{false};  // the mixer has let go of it
  std::atomic<std::uint64_t> frames_played{0};
  bool started = false;            // the mixer's: frames have flowed
  std::uint64_t heard_at = 0;      // the mixer's: output frame count when the last frame is heard
};

struct Command {
  enum Kind { Add, Stop, SetTap } kind;
  Play* play;
  OutputTap* tap;
};

// A play the mixer let go of, or a replaced output tap to free.
struct Retired {
  Play* play;
  EndReason reason;
  OutputTap* tap;
};

struct LineControl {
  std::atomic<float> left{1.0f};
  std::atomic<float> right{1.0f};
  std::atomic<bool> muted{false};
  std::atomic<float> peak{0.0f};
};

struct Reader {
  std::thread thread;
  std::mutex mutex;
  std::condition_variable wake;
  bool work = false;  // a new play waits for its first frames
};

struct Voice {
  bool used = false;
  Line line = Line::Wave;
  std::shared_ptr<Play> current;
};

// Everything the mixer alone touches.
struct Mixer {
  std::array<Play*, kMaxActive> active{};
  std::size_t active_count = 0;
  std::array<StereoGain, kLineCount> gains{};
  std::array<std::vector<float>, kLineCount> buses;
  Widener widener;
  OutputTap* tap = nullptr;
  bool inline_fill = false;  // fast null device: run producers on demand
  std::uint64_t output_frames = 0;
  std::size_t latency = 0;   // the device's buffer, in frames
};

struct Engine {
  std::mutex api;  // the UI side: voices, lifecycle, sending commands
  bool running = false;
  bool shutting_down = false;
  std::atomic<DeviceKind> kind{DeviceKind::NullFast};
  std::string reason;
  std::optional<std::string> input;  // none: the output is a null device and no input was named
  const OutputDriver* output = nullptr;
  std::array<Voice, kMaxVoices> voices;

  std::mutex plays_mutex;  // the plays not yet retired and notified
  std::vector<std::shared_ptr<Play>> plays;

  SpscQueue<Command, 256> commands;
  SpscQueue<Retired, 1024> retired;
  std::atomic<std::uint64_t> retired_count{0};

  std::array<LineControl, kLineCount> lines;
  std::atomic<bool> widening{false};
  std::atomic<std::uint64_t> underruns{0};

  Mixer mixer;
  std::mutex fast;  // held while the fast device mixes
  std::vector<float> fast_buffer;

  std::mutex failure_mutex;  // its own: end callbacks read it on the notifier thread
  OutputFailure failure;

  std::atomic<bool> threads_run{false};
  std::array<Reader, std::size(kMixedLines)> readers;
  std::thread notifier;
  std::mutex delivered_mutex;
  std::condition_variable delivered_cv;
  std::uint64_t delivered = 0;

  // Resting. Lock order: api, then idle_mutex, then plays_mutex.
  std::mutex idle_mutex;               // starting and stopping the output; `output` changes under it too
  std::condition_variable idle_cv;     // the resting notifier waits on it
  std::uint64_t activity = 0;          // bumped by whatever may need the mixer
  std::atomic<bool> output_on{false};  // the device is started
  bool output_allowed = false;         // from start until shutdown
};

// Never destroyed: its threads may outlive static destruction order, so the
// program's exit runs shutdown() instead (registered at the first start).
Engine& engine() {
  static Engine* e = new Engine;
  return *e;
}

std::size_t line_index(Line line) { return static_cast<std::size_t>(line); }

void store_max(std::atomic<float>& slot, float value) {
  float cur = slot.load(std::memory_order_relaxed);
  while (value > cur && !slot.compare_exchange_weak(cur, value, std::memory_order_relaxed)) {
  }
}

// Runs the producer until the ring is nearly full or the stream ends. Not on the
// mixing path of a real device.
bool fill(Play& p) {
  std::lock_guard lock(p.fill_mutex);
  bool worked = false;
  while (p.producer && !p.cancelled.load(std::memory_order_relaxed) && p.ring.writable() >= kFillChunk) {
    std::size_t asked = 0;
    const std::size_t got = p.ring.produce(kFillChunk, [&](float* dst, std::size_t n) {
      asked += n;
      return p.producer(dst, n);
    });
    worked = true;
    if (got < asked) {
      p.producer = nullptr;  // closes the file now, on this thread
      p.producer_done.store(true, std::memory_order_release);
    }
  }
  return worked;
}

// ---- the mixer ---------------------------------------------------------------

void retire(Mixer& m, std::size_t slot, EndReason reason) {
  Engine& e = engine();
  Play* p = m.active[slot];
  if (!e.retired.push({p, reason, nullptr})) return;  // full: try again next period
  p->ended.store(true, std::memory_order_release);
  e.retired_count.fetch_add(1, std::memory_order_release);
  m.active[slot] = m.active[--m.active_count];
}

void take_commands(Mixer& m) {
  Engine& e = engine();
  Command c;
  while (e.commands.pop(&c)) {
    switch (c.kind) {
      case Command::Add:
        if (m.active_count < kMaxActive) {
          m.active[m.active_count++] = c.play;
        } else if (e.retired.push({c.play, EndReason::Stopped, nullptr})) {  // too many at once
          c.play->ended.store(true, std::memory_order_release);
          e.retired_count.fetch_add(1, std::memory_order_release);
        }
        break;
      case Command::Stop:
        for (std::size_t i = 0; i < m.active_count; ++i)
          if (m.active[i] == c.play) {
            retire(m, i, EndReason::Stopped);
            break;
          }
        break;
      case Command::SetTap:
        if (m.tap && e.retired.push({nullptr, EndReason::Stopped, m.tap}))
          e.retired_count.fetch_add(1, std::memory_order_release);
        m.tap = c.tap;
        break;
    }
  }
}

// Pulls one period from every playing voice into its line's bus; marks in
// `finished` the plays whose last frame is heard by the end of this period.
void pull_voices(Mixer& m, std::size_t n, std::array<bool, kLineCount>& used, std::array<bool, kMaxActive>& finished) {
  Engine& e = engine();
  for (std::size_t i = 0; i < m.active_count; ++i) {
    Play& p = *m.active[i];
    if (p.heard_at) {  // everything given; the device's buffer still plays it
      finished[i] = m.output_frames + n >= p.heard_at;
      continue;
    }
    if (p.paused.load(std::memory_order_relaxed)) continue;
    if (m.inline_fill && p.ring.readable() < n) fill(p);
    const bool done = p.producer_done.load(std::memory_order_acquire);
    const std::size_t li = line_index(p.line);
    float* bus = m.buses[li].data();
    std::size_t got;
    if (!used[li]) {
      got = p.ring.read(bus, n);
      std::fill(bus + 2 * got, bus + 2 * n, 0.0f);
      used[li] = true;
    } else {
      float* at = bus;
      got = p.ring.consume(n, [&](const float* src, std::size_t k) {
        for (std::size_t s = 0; s < 2 * k; ++s) at[s] += src[s];
        at += 2 * k;
      });
    }
    if (got) p.started = true;
    p.frames_played.fetch_add(got, std::memory_order_relaxed);
    if (got < n && !done && p.started) e.underruns.fetch_add(1, std::memory_order_relaxed);
    if (done && p.ring.readable() == 0) {
      p.heard_at = m.output_frames + n + m.latency;
      finished[i] = m.output_frames + n >= p.heard_at;
    }
  }
}

void render_block(float* out, std::size_t n) {
  Engine& e = engine();
  Mixer& m = e.mixer;
  take_commands(m);

  std::array<bool, kLineCount> used{};
  std::array<bool, kMaxActive> finished{};
  pull_voices(m, n, used, finished);

  bool any = false;
  for (Line line : kMixedLines) {
    const std::size_t li = line_index(line);
    const StereoGain target = internal::line_target(line);
    if (used[li]) {
      store_max(e.lines[li].peak, mix_with_gain(out, m.buses[li].data(), n, m.gains[li], target, any));
      any = true;
    }
    m.gains[li] = target;
  }
  if (!any) std::fill(out, out + 2 * n, 0.0f);
  // The 3D effect works on the decks' mix; what the rack records is taken
  // after it and before the master volume and mute, as a card's mix input is.
  m.widener.set(e.widening.load(std::memory_order_relaxed));
  m.widener.process(out, n);
  internal::feed_rack_output(out, n);
  const std::size_t master = line_index(Line::Master);
  const StereoGain target = internal::line_target(Line::Master);
  store_max(e.lines[master].peak, apply_gain(out, n, m.gains[master], target));
  m.gains[master] = target;
  if (m.tap) (*m.tap)(out, n);
  m.output_frames += n;

  // The frames are out: the plays that gave their last one have finished.
  for (std::size_t i = m.active_count; i-- > 0;)
    if (finished[i]) retire(m, i, EndReason::Finished);
}

void render(float* out, std::size_t frames) {
  while (frames > 0) {
    const std::size_t n = std::min(frames, kMaxBlock);
    render_block(out, n);
    out += 2 * n;
    frames -= n;
  }
}

// ---- the threads around it -----------------------------------------------------

std::size_t reader_index(Line line) {
  return static_cast<std::size_t>(std::find(std::begin(kMixedLines), std::end(kMixedLines), line) -
                                  std::begin(kMixedLines));
}

void wake_reader(Reader& r) {
  {
    std::lock_guard lock(r.mutex);
    r.work = true;
  }
  r.wake.notify_one();
}

// Something may need the mixer: the resting notifier wakes up and, with
// `start_output`, the stopped output device starts. Any thread holding no
// engine lock but api.
void wake_engine(bool start_output) {
  Engine& e = engine();
  {
    std::lock_guard lock(e.idle_mutex);
    ++e.activity;
    if (start_output && e.output_allowed && !e.output_on) {
      // A device that will not start again is taken for a failed one (see
      // recover_if_output_failed), so the plays end and the silent device follows.
      e.output->start(nullptr);
      e.output_on = true;
    }
  }
  e.idle_cv.notify_all();
}

// Paused with frames ready: it needs neither the device nor its reader until it
// resumes. One paused with nothing left may still be ending (its last frames
// are in the device's buffer), and one being stopped needs the mixer to let go
// of it; stop_current marks it before it wakes the engine.
bool waits_paused(const Play& p) {
  return p.paused.load() && !p.cancelled.load() && p.ring.readable() > 0;
}

void reader_loop(Line line) {
  Engine& e = engine();
  Reader& r = e.readers[reader_index(line)];
  std::vector<std::shared_ptr<Play>> snapshot;
  while (e.threads_run.load()) {
    {
      std::lock_guard lock(e.plays_mutex);
      snapshot = e.plays;
    }
    bool mine = false, worked = false;
    for (auto& p : snapshot)
      if (p->line == line) {
        mine |= !waits_paused(*p);
        worked |= fill(*p);
      }
    snapshot.clear();
    if (worked) wake_engine(true);  // the first frames are there: the device may start
    std::unique_lock lock(r.mutex);
    if (!mine && !worked)
      r.wake.wait(lock, [&] { return r.work; });  // nothing on this line: rest until a play comes or resumes
    else if (!worked)
      r.wake.wait_for(lock, kReaderIdle, [&] { return r.work; });
    r.work = false;
  }
}

void deliver(const Retired& r) {
  Engine& e = engine();
  if (r.play) {
    EndCallback on_end = std::move(r.play->on_end);
    if (on_end) on_end(r.reason);
    {
      std::lock_guard lock(r.play->fill_mutex);
      r.play->producer = nullptr;
    }
    std::lock_guard lock(e.plays_mutex);
    std::erase_if(e.plays, [&](const std::shared_ptr<Play>& p) { return p.get() == r.play; });
  }
  delete r.tap;
  std::lock_guard lock(e.delivered_mutex);
  ++e.delivered;
  e.delivered_cv.notify_all();
}

// The output device stopped by itself: with no device thread mixing any more,
// every play ends with Failed and the silent device of the same pace takes
// over, so the clock and the next play go on. The notifier only tries the lock
// (shutdown may hold it while it waits for the notifier); run_fast's caller
// waits for it. False when the device is well.
bool recover_if_output_failed(bool wait_for_lock) {
  Engine& e = engine();
  std::vector<Play*> failed;
  {
    std::unique_lock lock(e.api, std::defer_lock);
    if (wait_for_lock) {
      lock.lock();
    } else if (!lock.try_lock()) {
      return false;
    }
    std::string why;
    if (!e.running || e.shutting_down || !e.output->failed(&why)) return false;
    std::lock_guard mixing(e.fast);  // on the fast device the mixer is run_fast's
    e.output->stop();
    e.output->close();
    Mixer& m = e.mixer;
    take_commands(m);
    for (std::size_t i = 0; i < m.active_count; ++i) {
      m.active[i]->cancelled = true;  // its reader stops filling
      m.active[i]->ended.store(true, std::memory_order_release);
      failed.push_back(m.active[i]);
    }
    m.active_count = 0;
    e.retired_count.fetch_add(failed.size(), std::memory_order_release);
    {
      std::lock_guard failure_lock(e.failure_mutex);
      e.failure = {e.failure.serial + 1, why.empty() ? std::string("the device stopped") : why};
    }
    const bool fast = e.kind == DeviceKind::NullFast;
    std::lock_guard idle(e.idle_mutex);
    e.output = fast ? &kFastOutput : &kNullOutput;
    e.kind = fast ? DeviceKind::NullFast : DeviceKind::NullRealtime;
    m.latency = e.output->latency_frames();
    e.output->open("", render, nullptr);
    e.output->start(nullptr);
    e.output_on = true;
  }
  // Outside the lock: an end callback may ask the engine anything.
  for (Play* p : failed) deliver({p, EndReason::Failed, nullptr});
  return true;
}

// Whether a play runs or is not yet notified, an end callback is due or a capture runs.
bool engine_busy(Engine& e) {
  if (internal::capture_running()) return true;
  {
    std::lock_guard lock(e.delivered_mutex);
    if (e.delivered < e.retired_count.load(std::memory_order_acquire)) return true;
  }
  std::lock_guard lock(e.plays_mutex);
  return std::any_of(e.plays.begin(), e.plays.end(), [](const auto& p) { return !waits_paused(*p); });
}

// Nothing to do: the output stops and the notifier waits for a call that may
// need the mixer (or for shutdown). With the device stopped no render runs, so
// nothing can be retired behind its back.
void rest(Engine& e) {
  std::unique_lock lock(e.idle_mutex);
  if (engine_busy(e)) return;
  if (e.output_on) {
    e.output->stop();
    e.output_on = false;
    // Its last periods may have let go of something (a replaced output tap).
    if (engine_busy(e)) return;
  }
  const std::uint64_t seen = e.activity;
  e.idle_cv.wait(lock, [&] { return e.activity != seen || !e.threads_run.load(); });
}

void notifier_loop() {
  Engine& e = engine();
  auto last_busy = std::chrono::steady_clock::now();
  for (;;) {
    Retired r;
    if (e.retired.pop(&r)) {
      deliver(r);
      continue;
    }
    if (!e.threads_run.load()) break;
    if (recover_if_output_failed(false)) continue;
    const auto now = std::chrono::steady_clock::now();
    if (engine_busy(e)) {
      last_busy = now;
    } else if (now - last_busy >= kIdleLinger) {
      rest(e);
      last_busy = std::chrono::steady_clock::now();
      continue;
    }
    std::this_thread::sleep_for(kNotifierIdle);
  }
}

// Sends a command to the mixer; on the fast device the caller plays the mixer.
void send(const Command& c) {
  Engine& e = engine();
  while (!e.commands.push(c)) {
    if (e.kind == DeviceKind::NullFast) {
      std::lock_guard lock(e.fast);
      take_commands(e.mixer);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
}

void apply_now_if_fast() {
  Engine& e = engine();
  if (e.kind != DeviceKind::NullFast) return;
  std::lock_guard lock(e.fast);
  take_commands(e.mixer);
}

Voice* find_voice(VoiceId id) {
  Engine& e = engine();
  if (id < 0 || id >= kMaxVoices || !e.voices[id].used) return nullptr;
  return &e.voices[id];
}

// True when a Stop went to the mixer: the device must run for it to be taken.
bool stop_current(Voice& v) {
  if (!v.current || v.current->ended.load()) return false;
  v.current->cancelled = true;
  send({Command::Stop, v.current.get(), nullptr});
  return true;
}

// Which driver carries `name`; a real device that cannot be opened leaves the
// real-time null device and the reason.
void open_output(Engine& e, const std::string& name) {
  e.reason.clear();
  if (name == "fast") {
    e.output = &kFastOutput;
    e.kind = DeviceKind::NullFast;
  } else if (name == "null") {
    e.output = &kNullOutput;
    e.kind = DeviceKind::NullRealtime;
  } else {
    e.output = &kPortAudioOutput;
    e.kind = DeviceKind::Real;
    const std::string device = name == "default" ? "" : name;
    // The latency is known once the stream is open; set it before it starts.
    if (kPortAudioOutput.open(device, render, &e.reason)) {
      e.mixer.latency = kPortAudioOutput.latency_frames();
      if (kPortAudioOutput.start(&e.reason)) return;
    }
    kPortAudioOutput.close();
    e.output = &kNullOutput;
    e.kind = DeviceKind::NullRealtime;
  }
  e.mixer.latency = e.output->latency_frames();
  e.output->open("", render, nullptr);
  e.output->start(nullptr);
}

void reset_mixer(Engine& e) {
  Mixer& m = e.mixer;
  m.active_count = 0;
  m.output_frames = 0;
  m.latency = 0;
  // Start every line at its set gain: a ramp from unity would let a muted line be heard.
  for (std::size_t li = 0; li < m.gains.size(); ++li) m.gains[li] = internal::line_target(static_cast<Line>(li));
  for (std::size_t li = 0; li < m.buses.size(); ++li) m.buses[li].assign(2 * kMaxBlock, 0.0f);
  m.widener = Widener();
  m.inline_fill = e.kind == DeviceKind::NullFast;
  e.fast_buffer.assign(2 * kMaxBlock, 0.0f);
}

}  // namespace

namespace internal {

void wake_output() { wake_engine(true); }

StereoGain line_target(Line line) {
  const LineControl& c = engine().lines[line_index(line)];
  if (c.muted.load(std::memory_order_relaxed)) return {0.0f, 0.0f};
  return {c.left.load(std::memory_order_relaxed), c.right.load(std::memory_order_relaxed)};
}

void record_peak(Line line, float value) { store_max(engine().lines[line_index(line)].peak, value); }

std::optional<std::string> input_setting() {
  std::lock_guard lock(engine().api);
  return engine().input;
}

DeviceKind running_kind() {
  std::lock_guard lock(engine().api);
  return engine().kind;
}

bool ensure_running() {
  {
    std::lock_guard lock(engine().api);
    if (engine().running) return true;
    if (engine().shutting_down) return false;
  }
  start();
  return true;
}

}  // namespace internal

void start(const StartOptions& options) {
  Engine& e = engine();
  static std::once_flag at_exit;
  std::call_once(at_exit, [] { std::atexit([] { shutdown(); }); });
  std::lock_guard lock(e.api);
  if (e.running || e.shutting_down) return;
  const std::string output =
      options.output.empty() ? platform_setting("Output", "QUORVIN_AUDIO") : options.output;
  e.input = options.input.empty() ? platform_setting("Input", "QUORVIN_AUDIO_INPUT") : options.input;
  // A silent null input is a device only when named: a rack without sound
  // output is not taken to have a microphone.
  if (e.input->empty() && (output == "fast" || output == "null")) e.input.reset();

  // The mixer state is set before any device thread can call render.
  e.kind = output == "fast" ? DeviceKind::NullFast : DeviceKind::NullRealtime;
  reset_mixer(e);
  e.threads_run = true;
  e.notifier = std::thread(notifier_loop);
  if (output != "fast")
    for (Line line : kMixedLines) e.readers[reader_index(line)].thread = std::thread(reader_loop, line);
  {
    // Started once to learn whether the device works; the notifier stops it when idle.
    std::lock_guard idle(e.idle_mutex);
    open_output(e, output);
    e.output_on = true;
    e.output_allowed = true;
    ++e.activity;
  }
  e.idle_cv.notify_all();
  e.running = true;
}

void shutdown() {
  Engine& e = engine();
  {
    std::lock_guard lock(e.api);
    if (!e.running) return;
    e.shutting_down = true;
  }
  internal::capture_shutdown();
  {
    std::lock_guard lock(e.api);
    {
      std::lock_guard idle(e.idle_mutex);
      e.output_allowed = false;
      if (e.output_on) e.output->stop();
      e.output_on = false;
    }
    e.output->close();
    // No device thread mixes any more: this thread ends what still plays.
    take_commands(e.mixer);
    while (e.mixer.active_count > 0) {
      const std::size_t before = e.mixer.active_count;
      retire(e.mixer, before - 1, EndReason::Stopped);
      if (e.mixer.active_count == before) std::this_thread::sleep_for(kNotifierIdle);
    }
    if (e.mixer.tap && e.retired.push({nullptr, EndReason::Stopped, e.mixer.tap}))
      e.retired_count.fetch_add(1);
    e.mixer.tap = nullptr;
  }
  {
    std::lock_guard lock(e.plays_mutex);  // no producer starts another read
    for (auto& p : e.plays) p->cancelled = true;
  }
  {
    std::lock_guard idle(e.idle_mutex);  // the resting notifier sees it
    e.threads_run = false;
  }
  e.idle_cv.notify_all();
  for (Reader& r : e.readers) {
    wake_reader(r);
    if (r.thread.joinable()) r.thread.join();
  }
  if (e.notifier.joinable()) e.notifier.join();  // it drains the callbacks first
  std::lock_guard lock(e.api);
  for (Voice& v : e.voices) v = Voice();
  {
    std::lock_guard plays_lock(e.plays_mutex);
    e.plays.clear();
  }
  for (LineControl& c : e.lines) c.peak = 0.0f;
  e.underruns = 0;
  e.running = false;
  e.shutting_down = false;
}

DeviceKind device_kind() {
  internal::ensure_running();
  return internal::running_kind();
}

std::vector<std::string> device_names(bool input) { return portaudio_device_names(input); }

DeviceKind switch_output(const std::string& name) {
  if (!internal::ensure_running()) return DeviceKind::NullRealtime;
  Engine& e = engine();
  std::lock_guard lock(e.api);
  // The fast device runs without reader threads and fills inline: it is a start-time choice.
  if (e.kind == DeviceKind::NullFast || name == "fast") return e.kind;
  {
    // As at start: the new device starts once (so a failure shows now) and the notifier rests it when idle.
    std::lock_guard idle(e.idle_mutex);
    if (e.output_on) e.output->stop();
    e.output->close();
    open_output(e, name);
    e.output_on = true;
    ++e.activity;
  }
  e.idle_cv.notify_all();
  return e.kind;
}

void set_input_device(const std::string& name) {
  Engine& e = engine();
  std::lock_guard lock(e.api);
  const std::string chosen = name.empty() ? platform_setting("Input", "QUORVIN_AUDIO_INPUT") : name;
  // As at start: with no sound card output, an unnamed input is no device.
  if (chosen.empty() && e.kind != DeviceKind::Real)
    e.input.reset();
  else
    e.input = chosen;
}

std::string no_device_reason() {
  std::lock_guard lock(engine().api);
  return engine().reason;
}

OutputFailure output_failure() {
  std::lock_guard lock(engine().failure_mutex);
  return engine().failure;
}

VoiceId voice_create(Line line) {
  if (reader_index(line) == std::size(kMixedLines)) return -1;  // not a source line
  if (!internal::ensure_running()) return -1;
  Engine& e = engine();
  std::lock_guard lock(e.api);
  for (VoiceId id = 0; id < kMaxVoices; ++id)
    if (!e.voices[id].used) {
      e.voices[id] = Voice{true, line, nullptr};
      return id;
    }
  return -1;
}

void voice_destroy(VoiceId voice) {
  Engine& e = engine();
  bool stopped;
  {
    std::lock_guard lock(e.api);
    Voice* v = find_voice(voice);
    if (!v) return;
    stopped = stop_current(*v);
    *v = Voice();
  }
  if (stopped) wake_engine(true);
  apply_now_if_fast();
}

void voice_play(VoiceId voice, Producer producer, EndCallback on_end) {
  Engine& e = engine();
  Line line;
  bool stopped;
  {
    std::unique_lock lock(e.api);
    Voice* v = find_voice(voice);
    if (!v || !e.running || e.shutting_down) {
      lock.unlock();
      if (on_end) on_end(EndReason::Stopped);  // no such voice: the play ends at once
      return;
    }
    stopped = stop_current(*v);
    auto play = std::make_shared<Play>(v->line, std::move(producer), std::move(on_end));
    {
      std::lock_guard plays_lock(e.plays_mutex);
      e.plays.push_back(play);
    }
    v->current = play;
    line = v->line;
    send({Command::Add, play.get(), nullptr});
  }
  wake_reader(e.readers[reader_index(line)]);
  // The reader starts a stopped device when the first frames are in; a stopped
  // play must be taken now.
  wake_engine(stopped);
  apply_now_if_fast();
}

void voice_stop(VoiceId voice) {
  bool stopped = false;
  {
    std::lock_guard lock(engine().api);
    if (Voice* v = find_voice(voice)) stopped = stop_current(*v);
  }
  if (stopped) wake_engine(true);
  apply_now_if_fast();
}

void voice_pause(VoiceId voice, bool paused) {
  Engine& e = engine();
  std::optional<Line> resumed;
  {
    std::lock_guard lock(e.api);
    Voice* v = find_voice(voice);
    if (!v || !v->current) return;
    v->current->paused = paused;
    if (!paused) resumed = v->line;
  }
  // The engine may have rested under the pause.
  if (resumed) {
    wake_reader(e.readers[reader_index(*resumed)]);
    wake_engine(true);
  }
}

std::uint64_t voice_frames_played(VoiceId voice) {
  std::lock_guard lock(engine().api);
  Voice* v = find_voice(voice);
  return v && v->current ? v->current->frames_played.load() : 0;
}

bool voice_active(VoiceId voice) {
  std::lock_guard lock(engine().api);
  Voice* v = find_voice(voice);
  return v && v->current && !v->current->ended.load();
}

void set_line_gain(Line line, float left, float right) {
  LineControl& c = engine().lines[line_index(line)];
  c.left = std::clamp(left, 0.0f, 1.0f);
  c.right = std::clamp(right, 0.0f, 1.0f);
}

void set_line_mute(Line line, bool muted) { engine().lines[line_index(line)].muted = muted; }

void set_widening(bool on) { engine().widening = on; }

float line_peak(Line line) { return engine().lines[line_index(line)].peak.exchange(0.0f); }

void flush_end_callbacks() {
  Engine& e = engine();
  const std::uint64_t due = e.retired_count.load(std::memory_order_acquire);
  std::unique_lock lock(e.delivered_mutex);
  e.delivered_cv.wait_for(lock, std::chrono::seconds(10), [&] { return e.delivered >= due; });
}

std::uint64_t underrun_count() {
  return engine().underruns.load() + null_output_late_periods();
}

std::uint64_t run_fast(std::uint64_t frames) {
  Engine& e = engine();
  if (!internal::ensure_running() || internal::running_kind() != DeviceKind::NullFast) return 0;
  std::uint64_t done = 0;
  {
    std::lock_guard lock(e.fast);
    while (done < frames) {
      if (e.output->failed(nullptr)) break;  // a failed device takes no frames
      take_commands(e.mixer);
      const bool capturing = internal::capture_running();
      if (e.mixer.active_count == 0 && !capturing) break;
      const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kMaxBlock, frames - done));
      render_block(e.fast_buffer.data(), n);
      if (capturing) internal::capture_fast_period(n);
      done += n;
    }
  }
  recover_if_output_failed(true);
  flush_end_callbacks();
  return done;
}

void set_output_tap(OutputTap tap) {
  if (!internal::ensure_running()) return;
  {
    std::lock_guard lock(engine().api);
    send({Command::SetTap, nullptr, tap ? new OutputTap(std::move(tap)) : nullptr});
  }
  apply_now_if_fast();
}

}  // namespace audio
