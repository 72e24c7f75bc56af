// The window's handlers one by one, against a window that records what reaches it.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_window.h"
#include "app/rack_wiring.h"
#include "app/window_handlers.h"
#include "platform/mci/mmsystem.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "skin/hold.h"
#include "skin/layout.h"
#include "skin/mci_error_box.h"
#include "skin/rack_state.h"

namespace {

struct Received {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
};
std::vector<Received> received;

LRESULT CALLBACK recorder_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COMMAND || m == WM_CLOSE) received.push_back({m, wp, lp});
  return DefWindowProcA(w, m, wp, lp);
}

struct Dispatch : testing::Test {
  HWND previous_main = nullptr;
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = recorder_proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "Recorder";
      ASSERT_NE(RegisterClassA(&wc), 0);
      registered = true;
    }
    previous_main = main_window;
    main_window = CreateWindowExA(0, "Recorder", "", WS_POPUP, 0, 0, 579, 402, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(main_window, nullptr);
    received.clear();
    install_rack_wiring();
    midi_on = wave_on = cd_audio_on = 1;
    compute_module_tops();
    ui_test::reset();
    ui_test::script_ui();
  }
  void TearDown() override {
    DestroyWindow(main_window);
    main_window = previous_main;
    ui_test::reset();
  }
};

LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

TEST_F(Dispatch, PressOnAChannelColumnPostsSelectWithItsIndex) {
  on_left_button_down(main_window, WM_LBUTTONDOWN, 0, at(56, 25));
  on_left_button_down(main_window, WM_LBUTTONDOWN, 0, at(104, 30));
  ui_test::pump(20);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].wparam, 5012u);
  EXPECT_EQ(received[0].lparam, 0);
  EXPECT_EQ(received[1].lparam, 1);
}

TEST_F(Dispatch, PressBesideAnyAreaPostsNothing) {
  on_left_button_down(main_window, WM_LBUTTONDOWN, 0, at(55, 25));
  ui_test::pump(20);
  EXPECT_TRUE(received.empty());
}

TEST_F(Dispatch, UnknownCommandsAndMessagesFallThrough) {
  EXPECT_EQ(find_command(8010), nullptr) << "hold buttons act only through the timer";
  EXPECT_EQ(find_command(5007), nullptr);
  EXPECT_NE(find_command(4999), nullptr);
  EXPECT_EQ(rack_window_proc(main_window, WM_COMMAND, 12345, 0), 0);
}

TEST_F(Dispatch, OnlyAltF4GetsThroughTheSystemKeys) {
  EXPECT_EQ(on_system_key(main_window, WM_SYSKEYDOWN, VK_SPACE, 0), 0);
  ui_test::pump(20);
  EXPECT_TRUE(received.empty());
  on_system_key(main_window, WM_SYSKEYDOWN, VK_F4, 0);
  ui_test::pump(20);
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received[0].message, static_cast<UINT>(WM_CLOSE));
}

TEST_F(Dispatch, ErrorBoxShowsThePlatformTextOrUnknowError) {
  const DWORD known = mciSendStringA("frobnicate everything", nullptr, 0, nullptr);
  ASSERT_NE(known, 0u);
  mci_error_box(known);
  mci_error_box(0x7FFF0000);
  ASSERT_EQ(ui_test::boxes().size(), 2u);
  char text[256];
  ASSERT_TRUE(mciGetErrorStringA(known, text, sizeof text));
  EXPECT_EQ(ui_test::boxes()[0].text, text);
  EXPECT_EQ(ui_test::boxes()[0].caption, "MCI Error");
  EXPECT_EQ(ui_test::boxes()[0].type, 0x30u);
  EXPECT_EQ(ui_test::boxes()[0].owner, main_window);
  EXPECT_EQ(ui_test::boxes()[1].text, "Unknow Error");
  EXPECT_EQ(ui_test::boxes()[1].caption, "MCI Error");
}

TEST_F(Dispatch, MediaNoticesAreShownFromTheLoopInABoxOwnedByTheMainWindow) {
  rack_window_proc(main_window, MM_QUORVIN_NOTICE, MCIERR_NO_SOUND_DEVICE, 1);
  rack_window_proc(main_window, MM_QUORVIN_NOTICE, 0x7FFF, 1);
  ASSERT_EQ(ui_test::boxes().size(), 1u);
  char text[256];
  ASSERT_TRUE(mciGetNoticeTextA(MCIERR_NO_SOUND_DEVICE, text, sizeof text));
  EXPECT_EQ(ui_test::boxes()[0].text, text);
  EXPECT_NE(ui_test::boxes()[0].text.find("runs silently"), std::string::npos);
  EXPECT_EQ(ui_test::boxes()[0].owner, main_window);
  EXPECT_EQ(ui_test::boxes()[0].type, MB_OK | MB_ICONINFORMATION);
}

TEST(Hold, PressReleaseAndFocusLoss) {
  hold_track(8010, ODA_SELECT, ODS_SELECTED);
  EXPECT_EQ(hold_active, 1);
  EXPECT_EQ(held_button, 8010);
  hold_track(8010, ODA_DRAWENTIRE, 0);
  EXPECT_EQ(hold_active, 1) << "a whole redraw keeps the hold";
  hold_track(8010, ODA_FOCUS, 0);
  EXPECT_EQ(hold_active, 0);

  hold_track(7005, ODA_SELECT, ODS_SELECTED);
  hold_track(8001, ODA_SELECT, ODS_SELECTED);
  EXPECT_EQ(hold_active, 0) << "pressing another button ends the hold";
}

TEST(Hold, TicksAreCountedOnlyForThePlaylistStepButtons) {
  hold_track(7005, ODA_SELECT, ODS_SELECTED);
  hold_step();
  hold_step();
  EXPECT_EQ(hold_ticks, 2);
  hold_track(7005, ODA_SELECT, 0);
  EXPECT_EQ(hold_ticks, 0);
  EXPECT_EQ(hold_active, 0);

  hold_track(8010, ODA_SELECT, ODS_SELECTED);
  hold_step();
  EXPECT_EQ(hold_ticks, 0);
  hold_track(8010, ODA_SELECT, 0);
}
