// The mixer panel on the engine's own mixer: steps, balance, meters, selection,
// module switches and changes made through another handle.
#include <gtest/gtest.h>

#include <QImage>

#include "mixer/mixer_channels.h"
#include "mixer/mixer_panel.h"
#include "mixer/sound3d.h"
#include "platform/mixer/mixer_api.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/rack_state.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

struct MixerPanel : testing::Test {
  TempHome home;
  void SetUp() override { ui_test::reset(); }
  void TearDown() override { ui_test::reset(); }
};

void set_channel(int c, DWORD left, DWORD right) {
  mixer_channels[c].value_left = left;
  mixer_channels[c].value_right = right;
}

void command(WORD id, LPARAM lparam = 0) { SendMessageA(main_window, WM_COMMAND, id, lparam); }

COLORREF skin_pixel(const char* name, int x, int y) {
  const QRgb p = QImage(QString(":/skin/%1.png").arg(name)).pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

int window_height() {
  RECT r{};
  GetWindowRect(main_window, &r);
  return r.bottom - r.top;
}

}  // namespace

TEST(MeterSegments, MinimumJustAboveAndMaximum) {
  EXPECT_EQ(meter_dark_segments(0, 0, 4095), 16);
  EXPECT_EQ(meter_dark_segments(1, 0, 4095), 15);
  EXPECT_EQ(meter_dark_segments(8190, 0, 4095), 15);
  EXPECT_EQ(meter_dark_segments(8191, 0, 4095), 14);
  EXPECT_EQ(meter_dark_segments(65520, 0, 4095), 1);
  EXPECT_EQ(meter_dark_segments(65535, 0, 4095), 0);
}

TEST_F(MixerPanel, StartsOnTheEnginesMixerWithAThreeDSwitch) {
  run_rack([&] {
    EXPECT_NE(mixer_handle, nullptr);
    EXPECT_EQ(sound3d_present, 1);
    EXPECT_EQ(mixer_channels[kMaster].max_left, 65535u);
    EXPECT_EQ(mixer_channels[kMaster].step_left, 4095u);
    EXPECT_EQ(mixer_channels[kMicChannel].channels, 1);
    EXPECT_EQ(mixer_channels[kWaveChannel].channels, 2);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(mixer_handle, nullptr);
}

TEST_F(MixerPanel, SixteenStepsUpReach65520AndTheSeventeenthTheTop) {
  DWORD after16 = 0, after17 = 0;
  run_rack([&] {
    set_channel(kWaveChannel, 0, 0);
    for (int i = 0; i < 16; ++i) volume_step(kWaveChannel, kStepUp);
    after16 = mixer_channels[kWaveChannel].value_left;
    volume_step(kWaveChannel, kStepUp);
    after17 = mixer_channels[kWaveChannel].value_right;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(after16, 65520u);
  EXPECT_EQ(after17, 65535u);
}

TEST_F(MixerPanel, ASideAtTheTopBlocksUpButDownLowersBoth) {
  DWORD left = 0, right = 0, left_down = 0, right_down = 0;
  run_rack([&] {
    set_channel(kCdChannel, 65535, 30000);
    volume_step(kCdChannel, kStepUp);
    left = mixer_channels[kCdChannel].value_left;
    right = mixer_channels[kCdChannel].value_right;
    volume_step(kCdChannel, kStepDown);
    left_down = mixer_channels[kCdChannel].value_left;
    right_down = mixer_channels[kCdChannel].value_right;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(left, 65535u);
  EXPECT_EQ(right, 30000u);
  EXPECT_EQ(left_down, 65535u - 4095u);
  EXPECT_EQ(right_down, 30000u - 4095u);
}

// The master volume as the desktop sees it is the louder side; setting it
// scales both sides, so the balance stays, and from silence both sides rise alike.
TEST_F(MixerPanel, MasterVolumeIsTheLouderSideAndTurnsKeepingTheBalance) {
  double louder = 0;
  DWORD half[2] = {}, silent[2] = {}, from_silence[2] = {}, top[2] = {};
  run_rack([&] {
    set_channel(kMaster, 26214, 52428);  // 0.4 and 0.8 of the range
    louder = master_volume();
    set_master_volume(0.5);
    half[0] = mixer_channels[kMaster].value_left, half[1] = mixer_channels[kMaster].value_right;
    set_master_volume(-1);
    silent[0] = mixer_channels[kMaster].value_left, silent[1] = mixer_channels[kMaster].value_right;
    set_master_volume(0.25);
    from_silence[0] = mixer_channels[kMaster].value_left, from_silence[1] = mixer_channels[kMaster].value_right;
    set_master_volume(3);
    top[0] = mixer_channels[kMaster].value_left, top[1] = mixer_channels[kMaster].value_right;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_NEAR(louder, 0.8, 1e-6);
  EXPECT_NEAR(half[0], 16384u, 1u);
  EXPECT_NEAR(half[1], 32768u, 1u);
  EXPECT_EQ(silent[0], 0u);
  EXPECT_EQ(silent[1], 0u);
  EXPECT_NEAR(from_silence[0], 16384u, 1u);
  EXPECT_EQ(from_silence[1], from_silence[0]);
  EXPECT_EQ(top[0], 65535u);
  EXPECT_EQ(top[1], 65535u);
}

TEST_F(MixerPanel, MonoChannelStepsTheLeftOnlyAndKeepsTheMarkerCentred) {
  DWORD left = 0, right = 0;
  COLORREF marker = 0;
  run_rack([&] {
    command(5012, kMicChannel);
    set_channel(kMicChannel, 10000, 50000);
    volume_step(kMicChannel, kStepUp);
    balance_left();
    left = mixer_channels[kMicChannel].value_left;
    right = mixer_channels[kMicChannel].value_right;
    draw_balance_marker();
    ui_test::pump(20);
    marker = ui_test::pixel(main_window, 450, 45);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(left, 14095u);
  EXPECT_EQ(right, 50000u);
  EXPECT_EQ(marker, RGB(0, 255, 255));
}

TEST_F(MixerPanel, BalanceLeftWithEqualSidesLowersTheRightDownToZero) {
  DWORD right_after_one = 1, right_at_end = 1, left_at_end = 0;
  int marker_x = 0;
  run_rack([&] {
    command(5012, kWaveChannel);
    set_channel(kWaveChannel, 40000, 40000);
    balance_left();
    right_after_one = mixer_channels[kWaveChannel].value_right;
    for (int i = 0; i < 20; ++i) balance_left();
    right_at_end = mixer_channels[kWaveChannel].value_right;
    left_at_end = mixer_channels[kWaveChannel].value_left;
    ui_test::pump(20);
    for (int x = 428; x <= 472; ++x)
      if (ui_test::pixel(main_window, x, 45) == RGB(0, 255, 255)) marker_x = x;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(right_after_one, 40000u - 4095u);
  EXPECT_EQ(right_at_end, 0u);
  EXPECT_EQ(left_at_end, 40000u);
  EXPECT_EQ(marker_x, 450 - (22 * 40000) / 65535);
}

TEST_F(MixerPanel, NextAndPreviousWrapAround) {
  int after_next = -1, after_previous = -1;
  run_rack([&] {
    command(5012, 5);
    command(5010);
    after_next = selected_channel;
    command(5009);
    after_previous = selected_channel;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(after_next, 0);
  EXPECT_EQ(after_previous, 5);
}

TEST_F(MixerPanel, MuteChangesTheSegmentsBitmapNotTheirNumber) {
  QImage before, after;
  DWORD muted = 0;
  run_rack([&] {
    command(5012, kMaster);
    ui_test::pump(20);
    before = ui_test::client_image(main_window).copy(57, 24, 31, 64);
    command(5004);
    ui_test::pump(20);
    muted = mixer_channels[kMaster].mute;
    after = ui_test::client_image(main_window).copy(57, 24, 31, 64);
    command(5004);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(muted, 1u);
  EXPECT_NE(before, after);
}

TEST_F(MixerPanel, ModuleSwitchesResizeTheRack) {
  int full = 0, without_cd = 0, mixer_only = 0;
  bool cd_buttons_gone = false;
  run_rack([&] {
    full = window_height();
    command(5003);
    without_cd = window_height();
    cd_buttons_gone = GetDlgItem(main_window, 8001) == nullptr;
    command(5001);
    command(5002);
    mixer_only = window_height();
    command(5001);
    command(5002);
    command(5003);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(full - without_cd, 130);
  EXPECT_TRUE(cd_buttons_gone);
  EXPECT_EQ(mixer_only, 111);
  EXPECT_EQ(read_setting("Rack", "CDAudioOn"), "YES");
}

TEST_F(MixerPanel, TheRackIsRepaintedWhereModulesMovedTo) {
  COLORREF wave_moved_up = 0, cd_moved_up = 0;
  int wave_top_then = 0;
  run_rack([&] {
    command(5001);
    ui_test::pump(50);
    wave_top_then = wave_top;
    wave_moved_up = ui_test::pixel(main_window, 20, wave_top + 60);
    cd_moved_up = ui_test::pixel(main_window, 150, cd_top + 50);
    command(5001);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(wave_top_then, 109);
  EXPECT_EQ(wave_moved_up, skin_pixel("WAVEBMP", 20, 60));
  EXPECT_EQ(cd_moved_up, skin_pixel("CDPLYBMP", 150, 50));
}

TEST_F(MixerPanel, AChangeThroughAnotherHandleMovesTheMeterAndMarker) {
  DWORD seen = 0;
  run_rack([&] {
    command(5012, kWaveChannel);
    HMIXER other = nullptr;
    ASSERT_EQ(mixerOpen(&other, 0, 0, 0, 0), MMSYSERR_NOERROR);
    MIXERLINEA line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
    mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(other), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
    MIXERCONTROLA controls[4] = {};
    MIXERLINECONTROLSA request = {};
    request.cbStruct = sizeof request;
    request.dwLineID = line.dwLineID;
    request.cControls = line.cControls;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = controls;
    mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(other), &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL);
    DWORD values[2] = {12000, 12000};
    MIXERCONTROLDETAILS d = {};
    d.cbStruct = sizeof d;
    d.dwControlID = controls[0].dwControlID;
    d.cChannels = 2;
    d.cbDetails = sizeof(DWORD);
    d.paDetails = values;
    mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(other), &d, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    ui_test::pump_until([] { return mixer_channels[kWaveChannel].value_left == 12000; }, 1000);
    seen = mixer_channels[kWaveChannel].value_left;
    mixerClose(other);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(seen, 12000u);
}
