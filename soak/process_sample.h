#pragma once
// What the soak runs watch in their own process: resident memory, the heap
// bytes live under the sanitizer's allocator (exact, unlike resident memory,
// which the allocator's quarantine inflates), and open file descriptors.
// Linux only (/proc/self).
#include <cstddef>

struct ProcessSample {
  double resident_mb = 0;
  double heap_mb = 0;
  int descriptors = 0;
};

ProcessSample sample_process();
