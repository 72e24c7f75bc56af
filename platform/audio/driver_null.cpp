// The null devices: no sound card. The real-time ones keep the pace of a card
// with a clock thread, so a headless player plays at the right speed; the fast
// ones do nothing by themselves and move frames only when run_fast pulls. They
// never fail by themselves; a test makes their output fail as a driver would.
#include <pthread.h>
#include <sched.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/drivers.h"
#include "platform/audio/engine.h"

namespace audio {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPeriod = std::chrono::nanoseconds(1'000'000'000LL * kNullPeriodFrames / kEngineRate);

// Asks for real-time scheduling; without the privilege the thread keeps its
// normal priority, which is still fine on an idle machine.
void raise_priority() {
  sched_param param{};
  param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

// One clock-paced thread calling `tick` every period.
class PacedThread {
 public:
  template <typename Tick>
  void start(Tick tick) {
    running_ = true;
    thread_ = std::thread([this, tick] {
      raise_priority();
      auto next = Clock::now();
      while (running_.load(std::memory_order_relaxed)) {
        tick();
        next += kPeriod;
        const auto now = Clock::now();
        if (now > next + kPeriod) {  // a whole period late: a card would have run dry
          late_.fetch_add(1, std::memory_order_relaxed);
          next = now;
        }
        std::this_thread::sleep_until(next);
      }
    });
  }
  void stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }
  std::size_t late() const { return late_.load(std::memory_order_relaxed); }

 private:
  std::atomic<bool> running_{false};
  std::atomic<std::size_t> late_{0};
  std::thread thread_;
};

// A driver error a test injected into the null output, until the engine closes it.
struct OutputFault {
  std::atomic<bool> failed{false};
  std::mutex mutex;
  std::string reason;
} output_fault;

// The same for the null input: it hands over nothing more, as a microphone unplugged.
std::atomic<bool> input_failed{false};

bool null_out_failed(std::string* reason) {
  if (!output_fault.failed.load()) return false;
  if (reason) {
    std::lock_guard lock(output_fault.mutex);
    *reason = output_fault.reason;
  }
  return true;
}

void forget_output_fault() { output_fault.failed = false; }
void forget_input_fault() { input_failed = false; }
bool null_in_failed() { return input_failed.load(); }

struct NullOutput {
  RenderFn render = nullptr;
  std::vector<float> buffer = std::vector<float>(kNullPeriodFrames * kEngineChannels);
  PacedThread thread;
} null_out;

struct NullInput {
  CaptureFn capture = nullptr;
  GenerateFn generate = nullptr;
  std::vector<float> buffer = std::vector<float>(kNullPeriodFrames * kEngineChannels);
  PacedThread thread;
} null_in;

bool null_out_open(const std::string&, RenderFn render, std::string*) {
  null_out.render = render;
  return true;
}
bool null_out_start(std::string*) {
  // A failed device takes no more frames, as a card whose driver gave up.
  null_out.thread.start([] {
    if (!output_fault.failed.load(std::memory_order_relaxed)) null_out.render(null_out.buffer.data(), kNullPeriodFrames);
  });
  return true;
}
void null_out_stop() { null_out.thread.stop(); }

bool null_in_open(const std::string&, CaptureFn capture, GenerateFn generate, std::string*) {
  null_in.capture = capture;
  null_in.generate = generate;
  return true;
}
bool null_in_start(std::string*) {
  null_in.thread.start([] {
    if (input_failed.load(std::memory_order_relaxed)) return;
    null_in.generate(null_in.buffer.data(), kNullPeriodFrames);
    null_in.capture(null_in.buffer.data(), kNullPeriodFrames);
  });
  return true;
}
void null_in_stop() { null_in.thread.stop(); }

bool fast_out_open(const std::string&, RenderFn, std::string*) { return true; }
bool fast_in_open(const std::string&, CaptureFn, GenerateFn, std::string*) { return true; }
bool nothing_to_start(std::string*) { return true; }
bool always_present(const std::string&) { return true; }
void nothing() {}
std::size_t no_latency() { return 0; }

}  // namespace

const OutputDriver kNullOutput = {"null", null_out_open, null_out_start, null_out_stop,
                                  forget_output_fault, no_latency, null_out_failed};
const OutputDriver kFastOutput = {"fast", fast_out_open, nothing_to_start, nothing,
                                  forget_output_fault, no_latency, null_out_failed};
const InputDriver kNullInput = {"null",       always_present,     null_in_open,  null_in_start,
                                null_in_stop, forget_input_fault, null_in_failed};
const InputDriver kFastInput = {"fast",  always_present,     fast_in_open,  nothing_to_start,
                                nothing, forget_input_fault, null_in_failed};

std::size_t null_output_late_periods() { return null_out.thread.late(); }

void fail_output_for_testing(const std::string& reason) {
  {
    std::lock_guard lock(output_fault.mutex);
    output_fault.reason = reason;
  }
  output_fault.failed = true;
}

void fail_input_for_testing() { input_failed = true; }

}  // namespace audio
