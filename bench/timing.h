#pragma once
// Timing for the benchmarks that measure calls into the running rack.
#include <chrono>

// The mean wall time of `calls` calls of `f`, in microseconds.
template <typename F>
double microseconds_per_call(int calls, F f) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) f();
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / calls;
}
