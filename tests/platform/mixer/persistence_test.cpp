#include <fstream>
#include <string>

#include "mixer_fixture.h"
#include "platform/settings.h"

namespace mixer_test {
namespace {

using PersistenceTest = MixerTest;

TEST_F(PersistenceTest, VolumesMutesAnd3DSurviveCloseAndReopen) {
  HMIXER h = open();
  const DWORD wave = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  const DWORD mic = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, MIXERCONTROL_CONTROLTYPE_VOLUME);
  const DWORD cd_mute = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, MIXERCONTROL_CONTROLTYPE_MUTE);
  const DWORD loudness = control_id(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_LOUDNESS);
  ASSERT_EQ(set_volume(h, wave, 12288, 40960), MMSYSERR_NOERROR);
  const DWORD mic_value = 8191;
  ASSERT_EQ(set_values(h, mic, 1, &mic_value), MMSYSERR_NOERROR);
  ASSERT_EQ(set_switch(h, cd_mute, 1), MMSYSERR_NOERROR);
  ASSERT_EQ(set_switch(h, loudness, 1), MMSYSERR_NOERROR);
  close(h);

  EXPECT_EQ(platform_setting("MixerWaveVolume", nullptr), "12288,40960");
  EXPECT_EQ(platform_setting("MixerMicVolume", nullptr), "8191");
  EXPECT_EQ(platform_setting("MixerCDMute", nullptr), "1");
  EXPECT_EQ(platform_setting("Mixer3D", nullptr), "1");

  // What another run wrote is what the next open finds.
  platform_setting_write("MixerSynthVolume", "100,200");
  h = open();
  DWORD v[2] = {0, 0};
  ASSERT_EQ(get_values(h, wave, 2, v), MMSYSERR_NOERROR);
  EXPECT_EQ(v[0], 12288u);
  EXPECT_EQ(v[1], 40960u);
  ASSERT_EQ(get_values(h, mic, 1, v), MMSYSERR_NOERROR);
  EXPECT_EQ(v[0], 8191u);
  EXPECT_EQ(get_switch(h, cd_mute), 1u);
  EXPECT_EQ(get_switch(h, loudness), 1u);
  ASSERT_EQ(get_values(h, control_id(h, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, MIXERCONTROL_CONTROLTYPE_VOLUME), 2,
                       v),
            MMSYSERR_NOERROR);
  EXPECT_EQ(v[0], 100u);
  EXPECT_EQ(v[1], 200u);
}

TEST_F(PersistenceTest, UnreadableStoredValuesFallBackToDefaultsAndAreNotLost) {
  platform_setting_write("MixerWaveVolume", "loud");
  platform_setting_write("MixerCDVolume", "70000,1");
  platform_setting_write("MixerLineVolume", "5,6,7");
  platform_setting_write("MixerMicVolume", "-3");
  platform_setting_write("MixerMasterMute", "2");
  platform_setting_write("Mixer3D", "");
  const HMIXER h = open();
  for (DWORD type : {MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
                     MIXERLINE_COMPONENTTYPE_SRC_LINE}) {
    DWORD v[2] = {0, 0};
    ASSERT_EQ(get_values(h, control_id(h, type, MIXERCONTROL_CONTROLTYPE_VOLUME), 2, v), MMSYSERR_NOERROR);
    EXPECT_EQ(v[0], 65535u);
    EXPECT_EQ(v[1], 65535u);
  }
  DWORD mic = 0;
  ASSERT_EQ(get_values(h, control_id(h, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, MIXERCONTROL_CONTROLTYPE_VOLUME), 1,
                       &mic),
            MMSYSERR_NOERROR);
  EXPECT_EQ(mic, 65535u);
  EXPECT_EQ(get_switch(h, control_id(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_MUTE)), 0u);
  EXPECT_EQ(get_switch(h, control_id(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERCONTROL_CONTROLTYPE_LOUDNESS)), 0u);
  EXPECT_EQ(platform_setting("MixerWaveVolume", nullptr), "loud") << "reading never rewrites what it cannot use";
}

TEST_F(PersistenceTest, OnlyTheChangedControlIsWritten) {
  const HMIXER h = open();
  const DWORD id = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, MIXERCONTROL_CONTROLTYPE_MUTE);
  ASSERT_EQ(set_switch(h, id, 1), MMSYSERR_NOERROR);
  EXPECT_EQ(platform_setting("MixerSynthMute", nullptr), "1");
  EXPECT_EQ(platform_setting("MixerWaveVolume", nullptr, "absent"), "absent");
}

}  // namespace
}  // namespace mixer_test
