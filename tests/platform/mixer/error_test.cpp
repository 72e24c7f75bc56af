#include "mixer_fixture.h"

namespace mixer_test {
namespace {

using ErrorTest = MixerTest;

HMIXEROBJ bogus(std::uintptr_t v) { return reinterpret_cast<HMIXEROBJ>(v); }

TEST_F(ErrorTest, OpenAndCloseRefuseBadArguments) {
  HMIXER h = reinterpret_cast<HMIXER>(0x77);
  EXPECT_EQ(mixerOpen(nullptr, 0, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
  EXPECT_EQ(mixerOpen(&h, 1, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(h, nullptr) << "a failed open leaves no handle behind";
  EXPECT_EQ(mixerOpen(&h, 0, 0, 0, CALLBACK_FUNCTION), MMSYSERR_INVALFLAG);
  EXPECT_EQ(mixerOpen(&h, 0, 0, 0, 0x00000100), MMSYSERR_INVALFLAG);
  EXPECT_EQ(mixerOpen(&h, 0, 0, 0, MIXER_OBJECTF_WAVEOUT), MMSYSERR_NODRIVER);

  EXPECT_EQ(mixerClose(nullptr), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mixerClose(reinterpret_cast<HMIXER>(0x1234)), MMSYSERR_INVALHANDLE);
  HMIXER once = nullptr;
  ASSERT_EQ(mixerOpen(&once, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  EXPECT_EQ(mixerClose(once), MMSYSERR_NOERROR);
  EXPECT_EQ(mixerClose(once), MMSYSERR_INVALHANDLE);
}

TEST_F(ErrorTest, ObjectsAreCheckedByEveryCall) {
  HMIXER closed = nullptr;
  ASSERT_EQ(mixerOpen(&closed, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  ASSERT_EQ(mixerClose(closed), MMSYSERR_NOERROR);
  UINT id = 0;
  EXPECT_EQ(mixerGetID(object(closed), &id, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mixerGetID(nullptr, &id, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mixerGetID(bogus(1), &id, MIXER_OBJECTF_MIXER), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(mixerGetID(nullptr, nullptr, 0), MMSYSERR_INVALPARAM);
  EXPECT_EQ(mixerGetID(nullptr, &id, 0x00000001), MMSYSERR_INVALFLAG);

  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  EXPECT_EQ(mixerGetLineInfoA(object(closed), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE),
            MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mixerGetLineInfoA(bogus(0xDEAD0000), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE),
            MMSYSERR_INVALHANDLE);

  const HMIXER h = open();
  const DWORD control = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  DWORD v[2] = {5, 5};
  MIXERCONTROLDETAILS d{};
  d.cbStruct = sizeof d;
  d.dwControlID = control;
  d.cChannels = 2;
  d.cbDetails = sizeof(DWORD);
  d.paDetails = v;
  EXPECT_EQ(mixerGetControlDetailsA(object(closed), &d, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mixerSetControlDetails(object(closed), &d, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(mixerSetControlDetails(bogus(3), &d, MIXER_OBJECTF_MIXER), MMSYSERR_BADDEVICEID);
}

TEST_F(ErrorTest, LineInfoRefusesShortRecordsNullPointersAndUnknownLines) {
  const HMIXER h = open();
  const DWORD flags = MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE;
  EXPECT_EQ(mixerGetLineInfoA(object(h), nullptr, flags), MMSYSERR_INVALPARAM);
  MIXERLINEA line{};
  line.cbStruct = sizeof line - 1;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  EXPECT_EQ(mixerGetLineInfoA(object(h), &line, flags), MMSYSERR_INVALPARAM);
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE;
  EXPECT_EQ(mixerGetLineInfoA(object(h), &line, flags), MIXERR_INVALLINE);
  line.dwLineID = 0x12345678;
  EXPECT_EQ(mixerGetLineInfoA(object(h), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID), MIXERR_INVALLINE);
  line.dwDestination = 0;
  line.dwSource = 3;
  EXPECT_EQ(mixerGetLineInfoA(object(h), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE), MIXERR_INVALLINE);
  EXPECT_EQ(mixerGetLineInfoA(object(h), &line, MIXER_OBJECTF_HMIXER | 0x0000000F), MMSYSERR_INVALFLAG);
}

TEST_F(ErrorTest, LineControlsRefuseWrongCountsSizesAndLines) {
  const HMIXER h = open();
  const MIXERLINEA wave = line_of(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT);
  MIXERCONTROLA controls[4]{};
  MIXERLINECONTROLSA request{};
  request.cbStruct = sizeof request;
  request.dwLineID = wave.dwLineID;
  request.cControls = wave.cControls;
  request.cbmxctrl = sizeof(MIXERCONTROLA);
  request.pamxctrl = controls;
  const DWORD all = MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL;
  EXPECT_EQ(mixerGetLineControlsA(object(h), nullptr, all), MMSYSERR_INVALPARAM);

  MIXERLINECONTROLSA bad = request;
  bad.cbStruct = sizeof bad - 1;
  EXPECT_EQ(mixerGetLineControlsA(object(h), &bad, all), MMSYSERR_INVALPARAM);
  bad = request;
  bad.cControls = wave.cControls + 1;
  EXPECT_EQ(mixerGetLineControlsA(object(h), &bad, all), MMSYSERR_INVALPARAM);
  bad = request;
  bad.cbmxctrl = sizeof(MIXERCONTROLA) - 4;
  EXPECT_EQ(mixerGetLineControlsA(object(h), &bad, all), MMSYSERR_INVALPARAM);
  bad = request;
  bad.pamxctrl = nullptr;
  EXPECT_EQ(mixerGetLineControlsA(object(h), &bad, all), MMSYSERR_INVALPARAM);
  bad = request;
  bad.dwLineID = 0x00990000;
  EXPECT_EQ(mixerGetLineControlsA(object(h), &bad, all), MIXERR_INVALLINE);
  bad = request;
  bad.dwControlID = 0;
  EXPECT_EQ(mixerGetLineControlsA(object(h), &bad, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID),
            MIXERR_INVALCONTROL);
  EXPECT_EQ(mixerGetLineControlsA(object(h), &request, MIXER_OBJECTF_HMIXER | 0x3), MMSYSERR_INVALFLAG);
  EXPECT_EQ(mixerGetLineControlsA(object(h), &request, all), MMSYSERR_NOERROR);
}

TEST_F(ErrorTest, ControlDetailsRefuseBadRecordsAndLeaveValuesAlone) {
  const HMIXER h = open();
  const DWORD control = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_VOLUME);
  ASSERT_EQ(set_volume(h, control, 1000, 2000), MMSYSERR_NOERROR);
  DWORD v[4] = {9, 9, 9, 9};
  MIXERCONTROLDETAILS good{};
  good.cbStruct = sizeof good;
  good.dwControlID = control;
  good.cChannels = 2;
  good.cbDetails = sizeof(DWORD);
  good.paDetails = v;
  const DWORD get = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
  const DWORD set = MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE;

  struct Case {
    const char* what;
    void (*spoil)(MIXERCONTROLDETAILS&);
    MMRESULT expected;
  };
  const Case cases[] = {
      {"short record", [](MIXERCONTROLDETAILS& d) { d.cbStruct = 8; }, MMSYSERR_INVALPARAM},
      {"no control 0", [](MIXERCONTROLDETAILS& d) { d.dwControlID = 0; }, MIXERR_INVALCONTROL},
      {"unknown control", [](MIXERCONTROLDETAILS& d) { d.dwControlID = 0xFFFF; }, MIXERR_INVALCONTROL},
      {"three channels", [](MIXERCONTROLDETAILS& d) { d.cChannels = 3; }, MMSYSERR_INVALPARAM},
      {"no channels", [](MIXERCONTROLDETAILS& d) { d.cChannels = 0; }, MMSYSERR_INVALPARAM},
      {"multiple items", [](MIXERCONTROLDETAILS& d) { d.cMultipleItems = 2; }, MMSYSERR_INVALPARAM},
      {"short elements", [](MIXERCONTROLDETAILS& d) { d.cbDetails = 2; }, MMSYSERR_INVALPARAM},
      {"no elements", [](MIXERCONTROLDETAILS& d) { d.paDetails = nullptr; }, MMSYSERR_INVALPARAM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MIXERCONTROLDETAILS d = good;
    c.spoil(d);
    EXPECT_EQ(mixerGetControlDetailsA(object(h), &d, get), c.expected);
    EXPECT_EQ(mixerSetControlDetails(object(h), &d, set), c.expected);
    EXPECT_EQ(v[0], 9u) << "a refused call touches no element";
  }
  EXPECT_EQ(mixerGetControlDetailsA(object(h), nullptr, get), MMSYSERR_INVALPARAM);
  EXPECT_EQ(mixerSetControlDetails(object(h), nullptr, set), MMSYSERR_INVALPARAM);
  EXPECT_EQ(mixerGetControlDetailsA(object(h), &good, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_LISTTEXT),
            MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(mixerSetControlDetails(object(h), &good, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_CUSTOM),
            MMSYSERR_NOTSUPPORTED);
  EXPECT_EQ(mixerSetControlDetails(object(h), &good, MIXER_OBJECTF_HMIXER | 0x100), MMSYSERR_INVALFLAG);

  const DWORD mute = control_id(h, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERCONTROL_CONTROLTYPE_MUTE);
  MIXERCONTROLDETAILS two_for_a_switch = good;
  two_for_a_switch.dwControlID = mute;
  EXPECT_EQ(mixerGetControlDetailsA(object(h), &two_for_a_switch, get), MMSYSERR_INVALPARAM)
      << "a switch is uniform: one value";

  ASSERT_EQ(mixerGetControlDetailsA(object(h), &good, get), MMSYSERR_NOERROR);
  EXPECT_EQ(v[0], 1000u);
  EXPECT_EQ(v[1], 2000u);
}

}  // namespace
}  // namespace mixer_test
