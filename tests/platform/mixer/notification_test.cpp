#include <algorithm>

#include "mixer_fixture.h"

namespace mixer_test {
namespace {

using NotificationTest = MixerTest;

Posted change(HWND w, HMIXER h, DWORD control) {
  return {w, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(h), static_cast<LPARAM>(control)};
}

TEST_F(NotificationTest, AChangeReachesEveryOpenHandleIncludingTheWriter) {
  const HMIXER writer = open(window(10));
  const HMIXER other = open(window(20));
  const DWORD id = control_id(writer, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  PostRecorder::take();
  ASSERT_EQ(set_volume(writer, id, 40000, 40000), MMSYSERR_NOERROR);
  auto posted = PostRecorder::take();
  std::sort(posted.begin(), posted.end(), [](const Posted& a, const Posted& b) { return a.window < b.window; });
  EXPECT_EQ(posted, (std::vector{change(window(10), writer, id), change(window(20), other, id)}));
}

TEST_F(NotificationTest, TheSwitchControlIsNamedInTheMessage) {
  const HMIXER h = open(window(10));
  const DWORD loudness = control_id(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_LOUDNESS);
  const DWORD mute = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, MIXERCONTROL_CONTROLTYPE_MUTE);
  PostRecorder::take();
  ASSERT_EQ(set_switch(h, loudness, 1), MMSYSERR_NOERROR);
  ASSERT_EQ(set_switch(h, mute, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(PostRecorder::take(), (std::vector{change(window(10), h, loudness), change(window(10), h, mute)}));
}

TEST_F(NotificationTest, WritingTheValueAlreadyHeldAnnouncesNothing) {
  const HMIXER h = open(window(10));
  const DWORD id = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, MIXERCONTROL_CONTROLTYPE_VOLUME);
  ASSERT_EQ(set_volume(h, id, 100, 100), MMSYSERR_NOERROR);
  PostRecorder::take();
  ASSERT_EQ(set_volume(h, id, 100, 100), MMSYSERR_NOERROR);
  EXPECT_TRUE(PostRecorder::take().empty());
}

TEST_F(NotificationTest, ClosedAndWindowlessHandlesAreNotNotified) {
  const HMIXER kept = open(window(10));
  const HMIXER closed = open(window(20));
  HMIXER silent = nullptr;
  ASSERT_EQ(mixerOpen(&silent, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  open_.push_back(silent);
  close(closed);
  const DWORD id = control_id(kept, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, MIXERCONTROL_CONTROLTYPE_MUTE);
  PostRecorder::take();
  ASSERT_EQ(set_switch(silent, id, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(PostRecorder::take(), (std::vector{change(window(10), kept, id)}));
}

TEST_F(NotificationTest, RefusedWritesAnnounceNothing) {
  const HMIXER h = open(window(10));
  const DWORD id = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  PostRecorder::take();
  EXPECT_EQ(set_volume(h, id, 70000, 0), MIXERR_INVALVALUE);
  EXPECT_TRUE(PostRecorder::take().empty());
}

// The poster runs outside the mixer's lock: a poster that reads the mixer back
// (as a synchronous SendMessage handler would) must not deadlock.
HMIXER g_reentrant_handle = nullptr;
DWORD g_reentrant_value = 0;
void reading_poster(HWND, UINT, WPARAM, LPARAM control) {
  DWORD v[2] = {0, 0};
  if (get_values(g_reentrant_handle, static_cast<DWORD>(control), 2, v) == MMSYSERR_NOERROR) g_reentrant_value = v[0];
}

TEST_F(NotificationTest, APosterMayCallBackIntoTheMixer) {
  g_reentrant_handle = open(window(10));
  const DWORD id = control_id(g_reentrant_handle, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  mixer_set_notify_poster(&reading_poster);
  ASSERT_EQ(set_volume(g_reentrant_handle, id, 22222, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(g_reentrant_value, 22222u);
}

}  // namespace
}  // namespace mixer_test
