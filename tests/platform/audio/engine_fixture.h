#pragma once
// A fresh fast null engine per test, end-callback recording and simple producers.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/engine.h"
#include "support/temp_home.h"

namespace audio_test {

class Ends {
 public:
  audio::EndCallback callback() {
    return [this](audio::EndReason r) {
      std::lock_guard lock(mutex_);
      reasons_.push_back(r);
    };
  }
  std::vector<audio::EndReason> reasons() {
    audio::flush_end_callbacks();
    std::lock_guard lock(mutex_);
    return reasons_;
  }

 private:
  std::mutex mutex_;
  std::vector<audio::EndReason> reasons_;
};

// `total` frames (endless when 0) whose value comes from `sample(frame index)`.
inline audio::Producer generated(std::uint64_t total, std::function<std::pair<float, float>(std::uint64_t)> sample) {
  auto next = std::make_shared<std::uint64_t>(0);
  return [=](float* stereo, std::size_t frames) {
    std::size_t n = frames;
    if (total) n = static_cast<std::size_t>(std::min<std::uint64_t>(frames, total - *next));
    for (std::size_t i = 0; i < n; ++i) {
      auto [l, r] = sample(*next + i);
      stereo[2 * i] = l;
      stereo[2 * i + 1] = r;
    }
    *next += n;
    return n;
  };
}

inline audio::Producer constant(std::uint64_t total, float value) {
  return generated(total, [value](std::uint64_t) { return std::pair{value, value}; });
}

// Collects everything the engine outputs.
class Capture {
 public:
  void install() {
    audio::set_output_tap([this](const float* stereo, std::size_t frames) {
      std::lock_guard lock(mutex_);
      samples_.insert(samples_.end(), stereo, stereo + 2 * frames);
    });
  }
  std::vector<float> take() {
    std::lock_guard lock(mutex_);
    std::vector<float> out;
    out.swap(samples_);
    return out;
  }
  std::size_t frames() {
    std::lock_guard lock(mutex_);
    return samples_.size() / 2;
  }

 private:
  std::mutex mutex_;
  std::vector<float> samples_;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    audio::shutdown();
    audio::start({"fast", ""});
    for (int l = 0; l < static_cast<int>(audio::Line::Count); ++l) {
      audio::set_line_gain(static_cast<audio::Line>(l), 1.0f, 1.0f);
      audio::set_line_mute(static_cast<audio::Line>(l), false);
    }
    audio::set_widening(false);
    audio::set_test_input(nullptr);
  }
  void TearDown() override {
    audio::set_output_tap(nullptr);
    audio::shutdown();
  }

  TempHome home_;
};

}  // namespace audio_test
