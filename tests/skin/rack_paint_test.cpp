// The painted rack and its buttons, read back pixel by pixel, and the hold buttons in time.
#include <gtest/gtest.h>

#include <chrono>

#include <QImage>

#include "mixer/mixer_channels.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/rack_state.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

struct RackPaint : testing::Test {
  TempHome home;
  void SetUp() override { ui_test::reset(); }
  void TearDown() override { ui_test::reset(); }
};

// A button's face as the skin has it, in the window's pixel format.
QImage skin_face(const char* name, int width, int height) {
  return QImage(QString(":/skin/%1.png").arg(name)).copy(0, 0, width, height).convertToFormat(QImage::Format_RGB32);
}

QImage shown(HWND button) { return ui_test::client_image(button).convertToFormat(QImage::Format_RGB32); }

COLORREF skin_pixel(const char* name, int x, int y) {
  const QImage image(QString(":/skin/%1.png").arg(name));
  const QRgb p = image.pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

}  // namespace

TEST_F(RackPaint, FacesAndButtonFacesAreWhereTheLayoutPutsThem) {
  COLORREF mixer = 0, cd = 0, wave = 0;
  QImage play_up, play_down, play_released;
  run_rack([&] {
    ui_test::script_ui();  // Play without a disc says so in a box: answer it
    ui_test::pump(50);
    mixer = ui_test::pixel(main_window, 200, 5);
    wave = ui_test::pixel(main_window, 20, wave_top + 60);
    cd = ui_test::pixel(main_window, 150, cd_top + 50);
    HWND play = GetDlgItem(main_window, 8001);
    play_up = shown(play);
    ui_test::press(play, 25, 13);
    ui_test::pump(20);
    play_down = shown(play);
    ui_test::release(play, 25, 13);
    ui_test::pump(20);
    play_released = shown(play);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(mixer, skin_pixel("MIXERBMP", 200, 5));
  EXPECT_EQ(wave, skin_pixel("WAVEBMP", 20, 60));
  EXPECT_EQ(cd, skin_pixel("CDPLYBMP", 150, 50));
  EXPECT_EQ(play_up, skin_face("102", 51, 27));
  EXPECT_EQ(play_down, skin_face("103", 51, 27));
  EXPECT_NE(play_up, play_down);
  EXPECT_EQ(play_released, play_up);
}

// Ticks can come late on a loaded machine but never early: four steps take at
// least three tick periods, and none follows the release.
TEST_F(RackPaint, HoldingCdVolumeUpStepsOncePerTickAndNothingOnRelease) {
  constexpr DWORD kStep = 4095;
  DWORD held = 0, after_release = 0;
  std::chrono::milliseconds four_steps{0};
  run_rack([&] {
    mixer_channels[kCdChannel].value_left = mixer_channels[kCdChannel].value_right = 0;
    HWND up = GetDlgItem(main_window, 8010);
    const auto pressed = std::chrono::steady_clock::now();
    ui_test::press(up, 5, 5);
    while (mixer_channels[kCdChannel].value_left < 4 * kStep &&
           std::chrono::steady_clock::now() - pressed < std::chrono::seconds(10))
      ui_test::pump(10);
    four_steps = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - pressed);
    ui_test::release(up, 5, 5);
    held = mixer_channels[kCdChannel].value_left;
    ui_test::pump(600);
    after_release = mixer_channels[kCdChannel].value_left;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_GE(held / kStep, 4u);
  EXPECT_LE(held / kStep, 5u);
  EXPECT_GE(four_steps.count(), 3 * static_cast<long>(kRackTimerPeriodMs) - 50);
  EXPECT_EQ(after_release, held);
}

TEST_F(RackPaint, FocusLossEndsAHold) {
  DWORD at_focus_loss = 0, later = 0;
  run_rack([&] {
    mixer_channels[kWaveChannel].value_left = mixer_channels[kWaveChannel].value_right = 0;
    HWND up = GetDlgItem(main_window, 7007);
    ui_test::press(up, 5, 5);
    // Held until the first step, however late the tick comes.
    for (int i = 0; i < 1000 && mixer_channels[kWaveChannel].value_left == 0; ++i) ui_test::pump(10);
    ui_test::clear_focus();
    ui_test::pump(20);
    at_focus_loss = mixer_channels[kWaveChannel].value_left;
    ui_test::pump(700);
    later = mixer_channels[kWaveChannel].value_left;
    ui_test::release(up, 5, 5);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_GT(at_focus_loss, 0u);
  EXPECT_EQ(later, at_focus_loss);
}
