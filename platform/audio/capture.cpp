// The capture path: the input device's callback (or the mixer, when the rack
// records its own output) only copies frames into a ring; a pump thread applies
// the line-in gain, converts rate and channels, and hands the frames to the
// consumer (which may write files).
#include <strings.h>

#include <atomic>
#include <chrono>
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
#include "platform/audio/resampler.h"
#include "platform/settings.h"

namespace audio {
namespace {

constexpr std::size_t kRingFrames = 65536;  // 1.5 s of slack for the pump
constexpr std::size_t kChunk = 4096;
constexpr auto kPumpPeriod = std::chrono::milliseconds(10);

struct Capture {
  std::mutex control;  // start and stop
  std::atomic<bool> running{false};
  const InputDriver* driver = nullptr;
  std::atomic<bool> from_rack{false};  // the source is the rack's own output
  std::atomic<bool> rack_feed{false};  // the mixer writes its blocks into the ring
  FrameRing ring{kRingFrames, kEngineChannels};
  std::atomic<std::uint64_t> overruns{0};

  std::mutex pump_mutex;  // the consumer side below
  Consumer consumer;
  int channels = 2;
  std::unique_ptr<Resampler> resampler;
  StereoGain gain;
  std::vector<float> in = std::vector<float>(2 * kChunk);
  std::vector<float> out;
  std::vector<float> shaped;
  std::thread pump;
  std::atomic<bool> pump_run{false};

  std::mutex test_mutex;
  TestInput test_input;
  std::vector<float> fast_in = std::vector<float>(2 * kChunk);
};

// Never destroyed, like the engine: the exit-time shutdown still stops it.
Capture& capture() {
  static Capture* c = new Capture;
  return *c;
}

void on_captured(const float* stereo, std::size_t frames) {
  Capture& c = capture();
  if (c.ring.write(stereo, frames) < frames) c.overruns.fetch_add(1, std::memory_order_relaxed);
}

void generate(float* stereo, std::size_t frames) {
  Capture& c = capture();
  std::lock_guard lock(c.test_mutex);
  if (c.test_input)
    c.test_input(stereo, frames);
  else
    std::memset(stereo, 0, frames * 2 * sizeof(float));
}

void hand_over(Capture& c, const float* stereo, std::size_t frames) {
  if (frames == 0) return;
  if (c.channels == 2) {
    c.consumer(stereo, frames);
    return;
  }
  c.shaped.resize(frames);
  for (std::size_t i = 0; i < frames; ++i) c.shaped[i] = 0.5f * (stereo[2 * i] + stereo[2 * i + 1]);
  c.consumer(c.shaped.data(), frames);
}

void convert_and_hand_over(Capture& c, const float* stereo, std::size_t frames) {
  if (!c.resampler) {
    hand_over(c, stereo, frames);
    return;
  }
  c.resampler->push(stereo, frames);
  for (;;) {
    const std::size_t n = c.resampler->pull(c.out.data(), c.out.size() / 2);
    hand_over(c, c.out.data(), n);
    if (n < c.out.size() / 2) break;
  }
}

// There is one capture stream, and it is both recording lines at once: the line
// volume shapes each side, the (mono) microphone volume both, and either mute
// silences the recording.
StereoGain recording_gain() {
  const StereoGain line = internal::line_target(Line::LineIn);
  const float mic = internal::line_target(Line::Mic).left;
  return {line.left * mic, line.right * mic};
}

void pump_once() {
  Capture& c = capture();
  std::lock_guard lock(c.pump_mutex);
  if (!c.consumer) return;
  while (std::size_t n = c.ring.read(c.in.data(), kChunk)) {
    // The rack's output already passed its own volumes: it is recorded as mixed.
    const StereoGain target = c.from_rack ? StereoGain{} : recording_gain();
    const float level = apply_gain(c.in.data(), n, c.gain, target);
    internal::record_peak(Line::LineIn, level);
    internal::record_peak(Line::Mic, level);
    c.gain = target;
    convert_and_hand_over(c, c.in.data(), n);
  }
}

void pump_loop() {
  Capture& c = capture();
  while (c.pump_run.load()) {
    pump_once();
    std::this_thread::sleep_for(kPumpPeriod);
  }
}

// The rack's own output as an input: the mixer hands over its blocks.
bool rack_present(const std::string&) { return true; }
bool rack_open(const std::string&, CaptureFn, GenerateFn, std::string*) { return true; }
bool rack_start(std::string*) {
  capture().rack_feed = true;
  return true;
}
void rack_stop() { capture().rack_feed = false; }
void rack_close() {}
bool rack_failed() { return false; }  // it is the engine itself
const InputDriver kRackInput = {"rack", rack_present, rack_open, rack_start, rack_stop, rack_close, rack_failed};

struct SourceName {
  RecordSource source;
  const char* name;
};
constexpr SourceName kSourceNames[] = {
    {RecordSource::CaptureDevice, "capture"},
    {RecordSource::RackOutput, "rack"},
};

bool test_input_installed() {
  std::lock_guard lock(capture().test_mutex);
  return static_cast<bool>(capture().test_input);
}

std::string missing_capture_device(const std::optional<std::string>& setting) {
  const std::string advice = " Choose the rack's own output as the recording source, or connect one.";
  if (setting && !setting->empty() && *setting != "default")
    return "The recording device \"" + *setting + "\" was not found." + advice;
  return "No capture device (line in or microphone) was found." + advice;
}

// The driver that records from `source`; null with the reason when the capture
// device is chosen and not there.
const InputDriver* choose_driver(RecordSource source, std::string* device, std::string* error) {
  if (source == RecordSource::RackOutput) return &kRackInput;
  const bool fast = internal::running_kind() == DeviceKind::NullFast;
  const std::optional<std::string> setting = internal::input_setting();
  if (test_input_installed() || (setting && (*setting == "fast" || *setting == "null")))
    return fast ? &kFastInput : &kNullInput;
  if (setting) {
    *device = *setting == "default" ? "" : *setting;
    if (kPortAudioInput.present(*device)) return &kPortAudioInput;
  }
  if (error) *error = missing_capture_device(setting);
  return nullptr;
}

}  // namespace

bool capture_device_present() {
  if (!internal::ensure_running()) return false;
  std::string device;
  return choose_driver(RecordSource::CaptureDevice, &device, nullptr) != nullptr;
}

RecordSource record_source() {
  const std::string stored = platform_setting("RecordSource", "QUORVIN_RECORD_SOURCE");
  for (const SourceName& row : kSourceNames)
    if (strcasecmp(stored.c_str(), row.name) == 0) return row.source;
  return capture_device_present() ? RecordSource::CaptureDevice : RecordSource::RackOutput;
}

void set_record_source(RecordSource source) {
  for (const SourceName& row : kSourceNames)
    if (row.source == source) platform_setting_write("RecordSource", row.name);
}

std::string record_source_problem() {
  if (!internal::ensure_running()) return "The sound system is shutting down.";
  std::string device, error;
  choose_driver(record_source(), &device, &error);
  return error;
}

bool capture_start(int rate, int channels, Consumer consumer, std::string* error) {
  if (!internal::ensure_running()) {
    if (error) *error = "The sound system is shutting down.";
    return false;
  }
  if (rate < 1000 || rate > 192000 || channels < 1 || channels > 2 || !consumer) {
    if (error) *error = "The recording format is not supported.";
    return false;
  }
  Capture& c = capture();
  std::lock_guard lock(c.control);
  if (c.running) {
    if (error) *error = "The recording device is busy.";
    return false;
  }
  std::string device;
  const RecordSource source = record_source();
  const InputDriver* driver = choose_driver(source, &device, error);
  if (!driver || !driver->open(device, on_captured, generate, error)) return false;
  {
    std::lock_guard pump_lock(c.pump_mutex);
    c.from_rack = source == RecordSource::RackOutput;
    c.ring.consume(c.ring.readable(), [](const float*, std::size_t) {});  // stale frames
    c.consumer = std::move(consumer);
    c.channels = channels;
    c.resampler = rate == kEngineRate ? nullptr : std::make_unique<Resampler>(kEngineRate, rate);
    c.out.assign(2 * kChunk, 0.0f);
    c.gain = c.from_rack ? StereoGain{} : recording_gain();
  }
  c.driver = driver;
  // The fast devices move frames only inside run_fast, which pumps itself.
  if (driver != &kFastInput && !(driver == &kRackInput && internal::running_kind() == DeviceKind::NullFast)) {
    c.pump_run = true;
    c.pump = std::thread(pump_loop);
  }
  if (!driver->start(error)) {
    c.pump_run = false;
    if (c.pump.joinable()) c.pump.join();
    driver->close();
    std::lock_guard pump_lock(c.pump_mutex);
    c.consumer = nullptr;
    return false;
  }
  c.running = true;
  internal::wake_output();
  return true;
}

void capture_stop() {
  Capture& c = capture();
  std::lock_guard lock(c.control);
  if (!c.running) return;
  c.driver->stop();
  c.driver->close();
  c.pump_run = false;
  if (c.pump.joinable()) c.pump.join();
  pump_once();
  std::lock_guard pump_lock(c.pump_mutex);
  if (c.resampler) {  // the last few frames the filter still holds
    c.resampler->finish();
    while (std::size_t n = c.resampler->pull(c.out.data(), c.out.size() / 2)) hand_over(c, c.out.data(), n);
  }
  c.consumer = nullptr;
  c.resampler.reset();
  c.running = false;
}

bool capture_active() { return capture().running.load(); }

bool capture_failed() {
  Capture& c = capture();
  std::lock_guard lock(c.control);
  return c.running && c.driver->failed();
}

void set_test_input(TestInput input) {
  std::lock_guard lock(capture().test_mutex);
  capture().test_input = std::move(input);
}

namespace internal {

bool capture_running() { return capture().running.load(); }

void capture_fast_period(std::size_t frames) {
  Capture& c = capture();
  if (c.from_rack) {  // the mixer has just handed over this period
    pump_once();
    return;
  }
  if (c.driver->failed()) return;  // it hands over nothing more
  while (frames > 0) {
    const std::size_t n = std::min(frames, kChunk);
    generate(c.fast_in.data(), n);
    on_captured(c.fast_in.data(), n);
    pump_once();
    frames -= n;
  }
}

void capture_shutdown() { capture_stop(); }

void feed_rack_output(const float* stereo, std::size_t frames) {
  Capture& c = capture();
  if (c.rack_feed.load(std::memory_order_acquire)) on_captured(stereo, frames);
}

}  // namespace internal
}  // namespace audio
