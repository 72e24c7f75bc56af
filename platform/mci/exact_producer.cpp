#include "platform/mci/exact_producer.h"

#include <algorithm>
#include <memory>

namespace mci {

audio::Producer exact_producer(std::uint64_t total, audio::Producer inner) {
  auto left = std::make_shared<std::uint64_t>(total);
  auto inner_done = std::make_shared<bool>(false);
  return [left, inner_done, inner = std::move(inner)](float* stereo, std::size_t frames) -> std::size_t {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(frames, *left));
    std::size_t got = 0;
    if (!*inner_done) {
      got = inner(stereo, want);
      if (got < want) *inner_done = true;
    }
    std::fill(stereo + 2 * got, stereo + 2 * want, 0.0f);
    *left -= want;
    return want;
  };
}

}  // namespace mci
