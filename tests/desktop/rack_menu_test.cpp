// The rack's own menu on a right-click of the bare face, and its Preferences
// dialog over platform.ini.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/audio/engine.h"
#include "platform/profile/profile.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "resources/ids/commands.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/menus.h"
#include "skin/rack_state.h"
#include "support/env_override.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

struct RackMenu : testing::Test {
  TempHome home;
  void SetUp() override {
    ui_test::reset();
    ui_test::script_ui();
  }
  void TearDown() override { ui_test::reset(); }

  std::string platform_ini() {
    std::ifstream in(home.file("platform.ini"));
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

// A spot of the mixer face left of its display: no button, no click area.
constexpr int kBareX = 10;
constexpr int kBareY = 60;

std::vector<UINT> item_ids(const ui_test::ShownMenu& menu) {
  std::vector<UINT> ids;
  for (const auto& item : menu.items)
    if (!item.separator) ids.push_back(item.id);
  return ids;
}

}  // namespace

TEST_F(RackMenu, OnlyTheBareFaceOpensTheMenu) {
  std::size_t after_bare = 0, after_area = 0, after_button = 0;
  run_rack([&] {
    ui_test::choose_menu_item(0);
    ui_test::right_click(main_window, kBareX, kBareY);
    ui_test::pump(50);
    after_bare = ui_test::menus().size();
    ui_test::right_click(main_window, 60, 30);  // the master channel's column
    ui_test::pump(50);
    after_area = ui_test::menus().size();
    ui_test::right_click(main_window, 330, 82);  // the mute button
    ui_test::pump(50);
    after_button = ui_test::menus().size();
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  ASSERT_EQ(after_bare, 1u);
  EXPECT_EQ(after_area, 1u);
  EXPECT_EQ(after_button, 1u);
  const std::vector<UINT> expected = {IDM_PREFERENCES, IDM_INSERT_DISC, IDM_ABOUT, CMD_POWER};
  EXPECT_EQ(item_ids(ui_test::menus().front()), expected);
}

TEST_F(RackMenu, AboutShowsABoxAndQuitEndsTheProgram) {
  const int code = run_rack([&] {
    ui_test::choose_menu_item(IDM_ABOUT);
    ui_test::right_click(main_window, kBareX, kBareY);
    ui_test::pump_until([] { return !ui_test::boxes().empty(); }, 2000);
    ui_test::choose_menu_item(CMD_POWER);
    ui_test::right_click(main_window, kBareX, kBareY);
    // Quit posts the power button's command: run_rack fails when the program does not end.
  });
  EXPECT_EQ(code, 0);
  ASSERT_EQ(ui_test::boxes().size(), 1u);
  EXPECT_EQ(ui_test::boxes().front().caption, "About Quorvin");
}

TEST_F(RackMenu, PreferencesMoveTheOutputToTheChosenDeviceAndStoreIt) {
  // The engine starts afresh on the silent real-time device named in platform.ini.
  audio::shutdown();
  EnvOverride no_env("QUORVIN_AUDIO", nullptr);
  WritePrivateProfileStringA("Platform", "Output", "null", "platform.ini");
  audio::DeviceKind before = audio::DeviceKind::NullFast, after = audio::DeviceKind::NullFast;
  std::string reason;
  run_rack([&] {
    before = audio::device_kind();
    ui_test::on_dialog([](HWND dialog) {
      // Row 0 is the system's default device.
      SendDlgItemMessageA(dialog, IDC_PREF_OUTPUT, CB_SETCURSEL, 0, 0);
      SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(main_window, WM_COMMAND, IDM_PREFERENCES, 0);
    after = audio::device_kind();
    reason = audio::no_device_reason();
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  audio::shutdown();  // later tests start on the fast device again
  EXPECT_EQ(before, audio::DeviceKind::NullRealtime);
  EXPECT_NE(platform_ini().find("Output=default"), std::string::npos) << platform_ini();
  // The engine went for the real default device at once: it plays on it, or,
  // on a machine without a sound card, says why it can not, and the user is told.
  if (after != audio::DeviceKind::Real) {
    EXPECT_FALSE(reason.empty());
    ASSERT_EQ(ui_test::boxes().size(), 1u);
    EXPECT_NE(ui_test::boxes().front().text.find(reason), std::string::npos);
  }
}

TEST_F(RackMenu, PreferencesRefuseAMissingSoundFontAndStoreNothing) {
  bool stayed_open = false;
  run_rack([&] {
    ui_test::on_dialog([&](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_PREF_SOUNDFONT, "/nowhere/missing.sf2");
      SendMessageA(dialog, WM_COMMAND, IDOK, 0);
      stayed_open = IsWindow(dialog) && ui_test::boxes().size() == 1;
      SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageA(main_window, WM_COMMAND, IDM_PREFERENCES, 0);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(stayed_open);
  ASSERT_FALSE(ui_test::boxes().empty());
  EXPECT_NE(ui_test::boxes().front().text.find("/nowhere/missing.sf2"), std::string::npos);
  EXPECT_EQ(platform_ini().find("SoundFont"), std::string::npos);
}
