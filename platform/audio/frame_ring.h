#pragma once
// A single-producer, single-consumer ring of interleaved frames. Neither side
// ever blocks or allocates; the memory is taken once at construction.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <vector>

namespace audio {

class FrameRing {
 public:
  // Capacity is rounded up to a power of two frames.
  FrameRing(std::size_t frames, int channels) : channels_(channels) {
    std::size_t cap = 1;
    while (cap < frames) cap <<= 1;
    capacity_ = cap;
    data_.assign(cap * channels, 0.0f);
  }
  FrameRing(const FrameRing&) = delete;
  FrameRing& operator=(const FrameRing&) = delete;

  std::size_t capacity() const { return capacity_; }
  std::size_t readable() const {
    return head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_relaxed);
  }
  std::size_t writable() const {
    return capacity_ - (head_.load(std::memory_order_relaxed) - tail_.load(std::memory_order_acquire));
  }

  // Producer side: copies up to `frames` frames in; returns how many fitted.
  std::size_t write(const float* src, std::size_t frames) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t n = std::min(frames, capacity_ - (head - tail_.load(std::memory_order_acquire)));
    const std::size_t at = head & (capacity_ - 1);
    const std::size_t first = std::min(n, capacity_ - at);
    std::memcpy(&data_[at * channels_], src, first * channels_ * sizeof(float));
    std::memcpy(&data_[0], src + first * channels_, (n - first) * channels_ * sizeof(float));
    head_.store(head + n, std::memory_order_release);
    return n;
  }

  // Producer side: lets `fill(float* dst, count) -> written` write straight into
  // the free space, in at most two spans; stops early when fill writes fewer.
  template <typename Fill>
  std::size_t produce(std::size_t frames, Fill&& fill) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    const std::size_t n = std::min(frames, capacity_ - (head - tail_.load(std::memory_order_acquire)));
    const std::size_t at = head & (capacity_ - 1);
    const std::size_t first = std::min(n, capacity_ - at);
    std::size_t done = first ? fill(&data_[at * channels_], first) : 0;
    if (done == first && n > first) done += fill(&data_[0], n - first);
    head_.store(head + done, std::memory_order_release);
    return done;
  }

  // Consumer side: hands up to `frames` frames to `use(const float*, count)` in at
  // most two contiguous spans, then releases them. Returns the frames consumed.
  template <typename Use>
  std::size_t consume(std::size_t frames, Use&& use) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    const std::size_t n = std::min(frames, head_.load(std::memory_order_acquire) - tail);
    const std::size_t at = tail & (capacity_ - 1);
    const std::size_t first = std::min(n, capacity_ - at);
    if (first) use(&data_[at * channels_], first);
    if (n > first) use(&data_[0], n - first);
    tail_.store(tail + n, std::memory_order_release);
    return n;
  }

  std::size_t read(float* dst, std::size_t frames) {
    const int ch = channels_;
    return consume(frames, [&](const float* src, std::size_t n) {
      std::memcpy(dst, src, n * ch * sizeof(float));
      dst += n * ch;
    });
  }

 private:
  int channels_;
  std::size_t capacity_;
  std::vector<float> data_;
  alignas(64) std::atomic<std::size_t> head_{0};
  alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace audio
