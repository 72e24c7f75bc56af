#include "mixer_fixture.h"

namespace mixer_test {
namespace {

using ControlValuesTest = MixerTest;

TEST_F(ControlValuesTest, FreshDeviceIsFullVolumeUnmutedWithout3D) {
  const HMIXER h = open();
  DWORD v[2] = {1, 1};
  ASSERT_EQ(get_values(h, control_id(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME), 2, v),
            MMSYSERR_NOERROR);
  EXPECT_EQ(v[0], 65535u);
  EXPECT_EQ(v[1], 65535u);
  EXPECT_EQ(get_switch(h, control_id(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_MUTE)), 0u);
  EXPECT_EQ(get_switch(h, control_id(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_LOUDNESS)), 0u);
}

TEST_F(ControlValuesTest, StereoVolumesRoundTripPerSideOnEveryStereoLine) {
  const HMIXER h = open();
  const DWORD types[] = {MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER,
                         MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
                         MIXERLINE_COMPONENTTYPE_SRC_LINE};
  DWORD left = 1000;
  for (DWORD type : types) {
    const DWORD id = control_id(h, type, MIXERCONTROL_CONTROLTYPE_VOLUME);
    ASSERT_EQ(set_volume(h, id, left, 65535 - left), MMSYSERR_NOERROR);
    left += 7000;
  }
  left = 1000;
  for (DWORD type : types) {
    DWORD v[2] = {0, 0};
    ASSERT_EQ(get_values(h, control_id(h, type, MIXERCONTROL_CONTROLTYPE_VOLUME), 2, v), MMSYSERR_NOERROR);
    EXPECT_EQ(v[0], left) << "lines keep their own values";
    EXPECT_EQ(v[1], 65535 - left);
    left += 7000;
  }
}

TEST_F(ControlValuesTest, OneChannelReadsTheLouderSideAndWritesBoth) {
  const HMIXER h = open();
  const DWORD id = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, MIXERCONTROL_CONTROLTYPE_VOLUME);
  ASSERT_EQ(set_volume(h, id, 30000, 50000), MMSYSERR_NOERROR);
  DWORD one = 0;
  ASSERT_EQ(get_values(h, id, 1, &one), MMSYSERR_NOERROR);
  EXPECT_EQ(one, 50000u);
  const DWORD both = 12345;
  ASSERT_EQ(set_values(h, id, 1, &both), MMSYSERR_NOERROR);
  DWORD v[2] = {0, 0};
  ASSERT_EQ(get_values(h, id, 2, v), MMSYSERR_NOERROR);
  EXPECT_EQ(v[0], 12345u);
  EXPECT_EQ(v[1], 12345u);
}

TEST_F(ControlValuesTest, MonoMicrophoneExchangesOneValueAndRefusesTwo) {
  const HMIXER h = open();
  const DWORD id = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, MIXERCONTROL_CONTROLTYPE_VOLUME);
  const DWORD v = 20000;
  ASSERT_EQ(set_values(h, id, 1, &v), MMSYSERR_NOERROR);
  DWORD back[2] = {0, 0xAAAA};
  ASSERT_EQ(get_values(h, id, 1, back), MMSYSERR_NOERROR);
  EXPECT_EQ(back[0], 20000u);
  EXPECT_EQ(back[1], 0xAAAAu) << "a one-channel read writes one element";
  EXPECT_EQ(get_values(h, id, 2, back), MMSYSERR_INVALPARAM);
}

TEST_F(ControlValuesTest, SwitchesStoreZeroOrOne) {
  const HMIXER h = open();
  const DWORD mute = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, MIXERCONTROL_CONTROLTYPE_MUTE);
  ASSERT_EQ(set_switch(h, mute, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(get_switch(h, mute), 1u);
  ASSERT_EQ(set_switch(h, mute, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(get_switch(h, mute), 0u);
  ASSERT_EQ(set_switch(h, mute, 7), MMSYSERR_NOERROR);
  EXPECT_EQ(get_switch(h, mute), 1u) << "any non-zero value is true and reads back as 1";

  const DWORD loudness = control_id(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_LOUDNESS);
  ASSERT_EQ(set_switch(h, loudness, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(get_switch(h, loudness), 1u);
  EXPECT_EQ(get_switch(h, mute), 1u) << "the 3D switch is a control of its own";
}

TEST_F(ControlValuesTest, AVolumeAboveTheBoundIsRefusedAndChangesNothing) {
  const HMIXER h = open();
  const DWORD id = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  ASSERT_EQ(set_volume(h, id, 100, 200), MMSYSERR_NOERROR);
  EXPECT_EQ(set_volume(h, id, 300, 65536), MIXERR_INVALVALUE);
  DWORD v[2] = {0, 0};
  ASSERT_EQ(get_values(h, id, 2, v), MMSYSERR_NOERROR);
  EXPECT_EQ(v[0], 100u);
  EXPECT_EQ(v[1], 200u);
}

TEST_F(ControlValuesTest, ValuesAreSharedByEveryHandleAndByTheDeviceNumber) {
  const HMIXER a = open(window(1));
  const HMIXER b = open(window(2));
  const DWORD id = control_id(a, MIXERLINE_COMPONENTTYPE_SRC_LINE, MIXERCONTROL_CONTROLTYPE_VOLUME);
  ASSERT_EQ(set_volume(a, id, 4095, 8190), MMSYSERR_NOERROR);
  DWORD v[2] = {0, 0};
  ASSERT_EQ(get_values(b, id, 2, v), MMSYSERR_NOERROR);
  EXPECT_EQ(v[1], 8190u);

  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = id;
  d.cChannels = 2;
  d.cbDetails = sizeof(DWORD);
  DWORD by_number[2] = {0, 0};
  d.paDetails = by_number;
  ASSERT_EQ(mixerGetControlDetailsA(nullptr, &d, MIXER_OBJECTF_MIXER | MIXER_GETCONTROLDETAILSF_VALUE),
            MMSYSERR_NOERROR);
  EXPECT_EQ(by_number[0], 4095u);
}

}  // namespace
}  // namespace mixer_test
