#pragma once
// A bounded single-producer, single-consumer queue of small trivially copyable
// items: how commands reach the mixer and how ended plays leave it, without
// locks on the mixing side.
#include <array>
#include <atomic>
#include <cstddef>
#include <type_traits>

namespace audio {

template <typename T, std::size_t N>
class SpscQueue {
  static_assert((N & (N - 1)) == 0, "capacity must be a power of two");
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  bool push(const T& item) {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head - tail_.load(std::memory_order_acquire) == N) return false;
    items_[head & (N - 1)] = item;
    head_.store(head + 1, std::memory_order_release);
    return true;
  }
  bool pop(T* item) {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail == head_.load(std::memory_order_acquire)) return false;
    *item = items_[tail & (N - 1)];
    tail_.store(tail + 1, std::memory_order_release);
    return true;
  }
  bool empty() const {
    return tail_.load(std::memory_order_acquire) == head_.load(std::memory_order_acquire);
  }

 private:
  std::array<T, N> items_{};
  alignas(64) std::atomic<std::size_t> head_{0};
  alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace audio
