#include <set>
#include <string>

#include "mixer_fixture.h"

namespace mixer_test {
namespace {

constexpr DWORD kChannelTypes[6] = {
    MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,    MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER,
    MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,     MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
    MIXERLINE_COMPONENTTYPE_SRC_LINE,        MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
};

using EnumerationTest = MixerTest;

// The panel's start-up: device 0, its six lines by component type, the first
// volume and mute control of each, and the loudness switch on the speakers.
TEST_F(EnumerationTest, StartUpFindsEveryChannelWithVolumeAndMute) {
  ASSERT_GE(mixerGetNumDevs(), 1u);
  UINT id = 99;
  ASSERT_EQ(mixerGetID(nullptr, &id, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(id, 0u);
  const HMIXER h = open();
  ASSERT_NE(h, nullptr);

  std::set<DWORD> control_ids, line_ids;
  int loudness_found = 0;
  for (int c = 0; c < 6; ++c) {
    SCOPED_TRACE("channel " + std::to_string(c));
    const MIXERLINEA line = line_of(h, kChannelTypes[c]);
    EXPECT_EQ(line.dwComponentType, kChannelTypes[c]);
    EXPECT_EQ(line.cChannels, c == 5 ? 1u : 2u) << "only the microphone is mono";
    EXPECT_TRUE(line_ids.insert(line.dwLineID).second);
    const auto controls = controls_of(h, line);
    ASSERT_EQ(controls.size(), c == 0 ? 3u : 2u);
    EXPECT_EQ(controls[0].dwControlType, MIXERCONTROL_CONTROLTYPE_VOLUME);
    EXPECT_EQ(controls[1].dwControlType, MIXERCONTROL_CONTROLTYPE_MUTE);
    for (const MIXERCONTROLA& control : controls) {
      EXPECT_EQ(control.cbStruct, sizeof(MIXERCONTROLA));
      EXPECT_NE(control.dwControlID, 0u) << "0 means no control to the panel";
      EXPECT_TRUE(control_ids.insert(control.dwControlID).second) << "control ids are distinct";
      EXPECT_EQ(control.cMultipleItems, 0u);
      EXPECT_EQ(control.Bounds.dwMinimum, 0u);
      if (control.dwControlType == MIXERCONTROL_CONTROLTYPE_LOUDNESS) ++loudness_found;
    }
    EXPECT_EQ(controls[0].Bounds.dwMaximum, 65535u);
    EXPECT_EQ(controls[1].Bounds.dwMaximum, 1u);
    EXPECT_EQ(controls[1].fdwControl & MIXERCONTROL_CONTROLF_UNIFORM, MIXERCONTROL_CONTROLF_UNIFORM);
  }
  EXPECT_EQ(loudness_found, 1) << "one 3D switch, on the speakers";
}

TEST_F(EnumerationTest, IdentifiersAreTheSameOnEveryOpen) {
  HMIXER a = open();
  std::vector<DWORD> first;
  for (DWORD type : kChannelTypes)
    for (const MIXERCONTROLA& c : controls_of(a, line_of(a, type))) first.push_back(c.dwControlID);
  close(a);
  HMIXER b = open();
  std::vector<DWORD> second;
  for (DWORD type : kChannelTypes)
    for (const MIXERCONTROLA& c : controls_of(b, line_of(b, type))) second.push_back(c.dwControlID);
  EXPECT_EQ(first, second);
}

TEST_F(EnumerationTest, DestinationsSourcesLineIdsAndTargetsDescribeTheSameLines) {
  const HMIXER h = open();
  MIXERLINEA dest{};
  dest.cbStruct = sizeof dest;
  dest.dwDestination = 0;
  ASSERT_EQ(mixerGetLineInfoA(object(h), &dest, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION),
            MMSYSERR_NOERROR);
  EXPECT_EQ(dest.dwComponentType, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  EXPECT_EQ(dest.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);
  EXPECT_EQ(dest.cConnections, 3u) << "synthesizer, wave and CD play to the speakers";
  EXPECT_STRNE(dest.szName, "");

  std::set<DWORD> speaker_sources;
  for (DWORD s = 0; s < dest.cConnections; ++s) {
    MIXERLINEA src{};
    src.cbStruct = sizeof src;
    src.dwDestination = 0;
    src.dwSource = s;
    ASSERT_EQ(mixerGetLineInfoA(object(h), &src, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE),
              MMSYSERR_NOERROR);
    EXPECT_NE(src.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);
    speaker_sources.insert(src.dwComponentType);

    MIXERLINEA by_id{};
    by_id.cbStruct = sizeof by_id;
    by_id.dwLineID = src.dwLineID;
    ASSERT_EQ(mixerGetLineInfoA(object(h), &by_id, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID),
              MMSYSERR_NOERROR);
    EXPECT_EQ(by_id.dwComponentType, src.dwComponentType);
    EXPECT_STREQ(by_id.szName, src.szName);
  }
  EXPECT_EQ(speaker_sources, (std::set<DWORD>{MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER,
                                              MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,
                                              MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC}));

  MIXERLINEA recording{};
  recording.cbStruct = sizeof recording;
  recording.Target.dwType = MIXERLINE_TARGETTYPE_WAVEIN;
  ASSERT_EQ(mixerGetLineInfoA(object(h), &recording, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_TARGETTYPE),
            MMSYSERR_NOERROR);
  EXPECT_EQ(recording.dwComponentType, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
  EXPECT_EQ(recording.cConnections, 2u) << "line in and microphone record";

  MIXERLINEA past{};
  past.cbStruct = sizeof past;
  past.dwDestination = 2;
  EXPECT_EQ(mixerGetLineInfoA(object(h), &past, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION),
            MIXERR_INVALLINE);
}

TEST_F(EnumerationTest, OneControlByIdOrByTypeMatchesTheFullList) {
  const HMIXER h = open();
  const MIXERLINEA speakers = line_of(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  const auto all = controls_of(h, speakers);

  MIXERCONTROLA one{};
  MIXERLINECONTROLSA request{};
  request.cbStruct = sizeof request;
  request.dwLineID = speakers.dwLineID;
  request.dwControlType = MIXERCONTROL_CONTROLTYPE_LOUDNESS;
  request.cControls = 1;
  request.cbmxctrl = sizeof one;
  request.pamxctrl = &one;
  ASSERT_EQ(mixerGetLineControlsA(object(h), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
            MMSYSERR_NOERROR);
  EXPECT_EQ(one.dwControlID, all[2].dwControlID);

  MIXERLINECONTROLSA by_id{};
  by_id.cbStruct = sizeof by_id;
  by_id.dwControlID = all[0].dwControlID;
  by_id.cControls = 1;
  by_id.cbmxctrl = sizeof one;
  by_id.pamxctrl = &one;
  ASSERT_EQ(mixerGetLineControlsA(object(h), &by_id, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID),
            MMSYSERR_NOERROR);
  EXPECT_EQ(one.dwControlType, MIXERCONTROL_CONTROLTYPE_VOLUME);
  EXPECT_EQ(by_id.dwLineID, speakers.dwLineID) << "the line the control belongs to";

  const MIXERLINEA wave = line_of(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT);
  request.dwLineID = wave.dwLineID;
  EXPECT_EQ(mixerGetLineControlsA(object(h), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
            MIXERR_INVALCONTROL)
      << "the wave line has no 3D switch";
}

TEST_F(EnumerationTest, ControlRecordsFollowTheCallersStride) {
  const HMIXER h = open();
  const MIXERLINEA speakers = line_of(h, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  struct Padded {
    MIXERCONTROLA control;
    DWORD guard;
  };
  std::vector<Padded> records(speakers.cControls);
  for (Padded& p : records) p.guard = 0xDEADBEEF;
  MIXERLINECONTROLSA request{};
  request.cbStruct = sizeof request;
  request.dwLineID = speakers.dwLineID;
  request.cControls = speakers.cControls;
  request.cbmxctrl = sizeof(Padded);
  request.pamxctrl = &records[0].control;
  ASSERT_EQ(mixerGetLineControlsA(object(h), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
            MMSYSERR_NOERROR);
  EXPECT_EQ(records[1].control.dwControlType, MIXERCONTROL_CONTROLTYPE_MUTE);
  for (const Padded& p : records) EXPECT_EQ(p.guard, 0xDEADBEEFu);
}

}  // namespace
}  // namespace mixer_test
