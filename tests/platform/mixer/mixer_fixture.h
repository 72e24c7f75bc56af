#pragma once
// A private settings folder, the fast null engine, and a recorder in place of
// PostMessageA, for each mixer test.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "platform/audio/engine.h"
#include "platform/mixer/mixer_api.h"
#include "support/temp_home.h"

namespace mixer_test {

struct Posted {
  HWND window;
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  bool operator==(const Posted&) const = default;
};

class PostRecorder {
 public:
  static void post(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    std::lock_guard lock(mutex_);
    posted_.push_back({w, m, wp, lp});
  }
  static std::vector<Posted> take() {
    std::lock_guard lock(mutex_);
    std::vector<Posted> out;
    out.swap(posted_);
    return out;
  }

 private:
  static inline std::mutex mutex_;
  static inline std::vector<Posted> posted_;
};

inline HWND window(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }
inline HMIXEROBJ object(HMIXER h) { return reinterpret_cast<HMIXEROBJ>(h); }

// The line of a component type as the panel's start-up looks it up.
inline MIXERLINEA line_of(HMIXER h, DWORD component_type) {
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = component_type;
  EXPECT_EQ(mixerGetLineInfoA(object(h), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE),
            MMSYSERR_NOERROR);
  return line;
}

inline std::vector<MIXERCONTROLA> controls_of(HMIXER h, const MIXERLINEA& line) {
  std::vector<MIXERCONTROLA> controls(line.cControls);
  MIXERLINECONTROLSA request{};
  request.cbStruct = sizeof request;
  request.dwLineID = line.dwLineID;
  request.cControls = line.cControls;
  request.cbmxctrl = sizeof(MIXERCONTROLA);
  request.pamxctrl = controls.data();
  EXPECT_EQ(mixerGetLineControlsA(object(h), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
            MMSYSERR_NOERROR);
  return controls;
}

// The identifier of the first control of `type` on the line of `component_type`.
inline DWORD control_id(HMIXER h, DWORD component_type, DWORD type) {
  for (const MIXERCONTROLA& c : controls_of(h, line_of(h, component_type)))
    if (c.dwControlType == type) return c.dwControlID;
  ADD_FAILURE() << "no control of type " << type;
  return 0;
}

inline MMRESULT get_values(HMIXER h, DWORD control, DWORD channels, DWORD* values) {
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = control;
  d.cChannels = channels;
  d.cbDetails = sizeof(DWORD);
  d.paDetails = values;
  return mixerGetControlDetailsA(object(h), &d, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
}

inline MMRESULT set_values(HMIXER h, DWORD control, DWORD channels, const DWORD* values) {
  DWORD copy[2] = {values[0], channels > 1 ? values[1] : 0};
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = control;
  d.cChannels = channels;
  d.cbDetails = sizeof(DWORD);
  d.paDetails = copy;
  return mixerSetControlDetails(object(h), &d, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

inline MMRESULT set_volume(HMIXER h, DWORD control, DWORD left, DWORD right) {
  const DWORD v[2] = {left, right};
  return set_values(h, control, 2, v);
}
inline MMRESULT set_switch(HMIXER h, DWORD control, DWORD on) { return set_values(h, control, 1, &on); }
inline DWORD get_switch(HMIXER h, DWORD control) {
  DWORD v = 99;
  EXPECT_EQ(get_values(h, control, 1, &v), MMSYSERR_NOERROR);
  return v;
}

class MixerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    audio::shutdown();
    audio::start({"fast", ""});
    audio::set_test_input(nullptr);
    mixer_set_notify_poster(&PostRecorder::post);
    PostRecorder::take();
  }
  void TearDown() override {
    for (HMIXER h : open_) mixerClose(h);
    mixer_set_notify_poster(nullptr);
    audio::set_output_tap(nullptr);
    audio::shutdown();
  }
  // Opens device 0 notifying `w`; closed at the end of the test.
  HMIXER open(HWND w = window(0x1234)) {
    HMIXER h = nullptr;
    EXPECT_EQ(mixerOpen(&h, 0, reinterpret_cast<DWORD_PTR>(w), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
    open_.push_back(h);
    return h;
  }
  void close(HMIXER h) {
    EXPECT_EQ(mixerClose(h), MMSYSERR_NOERROR);
    std::erase(open_, h);
  }

  TempHome home_;
  std::vector<HMIXER> open_;
};

}  // namespace mixer_test
