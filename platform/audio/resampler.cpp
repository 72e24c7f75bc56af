#include "platform/audio/resampler.h"

#include <soxr.h>

#include <algorithm>

namespace audio {
namespace {
constexpr std::size_t kCompactAfter = 16384;  // frames already taken before the buffer is moved down
const float kNoInput[2] = {};                  // "nothing yet", as opposed to null: "no more"
}  // namespace

void Resampler::Delete::operator()(soxr* s) const { soxr_delete(s); }

Resampler::Resampler(int in_rate, int out_rate) : in_rate_(in_rate), out_rate_(out_rate) {
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);  // the reader threads are the parallelism
  if (in_rate > 0 && out_rate > 0) soxr_.reset(soxr_create(in_rate, out_rate, 2, nullptr, nullptr, &quality, &runtime));
}

void Resampler::push(const float* stereo, std::size_t frames) {
  input_.insert(input_.end(), stereo, stereo + 2 * frames);
  input_frames_ += frames;
}

void Resampler::finish() { finished_ = true; }

std::uint64_t Resampler::expected_output() const {
  return (input_frames_ * out_rate_ + in_rate_ - 1) / in_rate_;
}

bool Resampler::drained() const { return finished_ && (!soxr_ || output_frames_ >= expected_output()); }

std::size_t Resampler::pull(float* out, std::size_t frames) {
  if (!soxr_) return 0;
  std::size_t done = 0;
  while (done < frames && !flushed_) {
    std::size_t want = frames - done;
    if (finished_) want = std::min<std::uint64_t>(want, expected_output() - output_frames_);
    if (want == 0) break;
    const std::size_t available = input_.size() / 2 - input_used_;
    // A null input tells the library the stream has ended: it then gives out what it holds.
    const float* in = available > 0 ? &input_[2 * input_used_] : finished_ ? nullptr : kNoInput;
    std::size_t used = 0, made = 0;
    if (soxr_process(soxr_.get(), in, available, &used, out + 2 * done, want, &made) != nullptr) {
      flushed_ = true;  // a library fault: what is missing becomes silence below
      break;
    }
    input_used_ += used;
    done += made;
    output_frames_ += made;
    if (made == 0 && used == 0) {
      flushed_ = finished_ && available == 0;
      if (!flushed_) break;
    }
  }
  if (flushed_) {  // the filter's last fraction of a frame: silence, so the length is exact
    const std::size_t pad = std::min<std::uint64_t>(frames - done, expected_output() - output_frames_);
    std::fill(out + 2 * done, out + 2 * (done + pad), 0.0f);
    done += pad;
    output_frames_ += pad;
  }
  if (input_used_ >= kCompactAfter) {
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(2 * input_used_));
    input_used_ = 0;
  }
  return done;
}

StereoSource resampled(StereoSource source, int in_rate, int out_rate) {
  struct State {
    Resampler resampler;
    StereoSource source;
    std::vector<float> chunk;
  };
  constexpr std::size_t kChunk = 4096;
  auto state = std::make_shared<State>(State{Resampler(in_rate, out_rate), std::move(source),
                                             std::vector<float>(2 * kChunk)});
  return [state](float* stereo, std::size_t frames) {
    std::size_t done = 0;
    while (done < frames) {
      done += state->resampler.pull(stereo + 2 * done, frames - done);
      if (done == frames || state->resampler.drained()) break;
      const std::size_t got = state->source(state->chunk.data(), kChunk);
      state->resampler.push(state->chunk.data(), got);
      if (got < kChunk) state->resampler.finish();
    }
    return done;
  };
}

}  // namespace audio
