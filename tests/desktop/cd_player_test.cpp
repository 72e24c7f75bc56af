// The CD through the desktop: images put in by "open with", Insert disc
// image... and Preferences are loaded at once, and the player object drives
// the CD and shows its titles.
#include <gtest/gtest.h>

#include <QDBusArgument>

#include "cd/cd.h"
#include "media/disc_image.h"
#include "platform/desktop/desktop_messages.h"
#include "platform/mci/mmsystem.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "private_bus.h"
#include "resources/ids/commands.h"
#include "resources/ids/dialogs.h"
#include "resources/ids/menus.h"
#include "platform/profile/profile.h"
#include "skin/rack_state.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

struct CdFromDesktop : testing::Test {
  TempHome home;
  std::string night, dawn;
  void SetUp() override {
    ui_test::reset();
    ui_test::script_ui();
    testmedia::CdImage titled = testmedia::cd_image_of({3, 3});
    titled.title = "Night Drive";
    titled.tracks[0].title = "First Light";
    titled.tracks[1].title = "Last Call";
    night = testmedia::write_cd_image(home.path(), "night", titled);
    dawn = testmedia::write_cd_image(home.path(), "dawn", testmedia::cd_image_of({2, 2, 2}));
  }
  void TearDown() override { ui_test::reset(); }
};

std::string cd_status(const char* item) {
  char reply[64] = "";
  if (mciSendStringA((std::string("status cdaudio ") + item).c_str(), reply, sizeof reply, nullptr) != 0)
    return "<error>";
  return reply;
}

QVariantMap metadata() {
  QVariantMap map;
  private_bus::player_property("org.mpris.MediaPlayer2.Player", "Metadata").value<QDBusArgument>() >> map;
  return map;
}

}  // namespace

TEST_F(CdFromDesktop, AnImageOpenedWithTheRackIsLoadedAtOnceEvenWithThePanelHidden) {
  write_setting("Rack", "CDAudioOn", "NO");
  int ready = 0;
  std::string tracks;
  run_rack([&] {
    send_open_files(main_window, {dawn});
    // No tick has run: the load happened as the image went in.
    ready = cd_ready();
    tracks = cd_status("number of tracks");
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(ready, 1);
  EXPECT_EQ(tracks, "3");
}

TEST_F(CdFromDesktop, InsertDiscImageReplacesTheDiscAndPreferencesMoveTheDrive) {
  std::string inserted_title, after_prefs;
  int ready_after_prefs = 0;
  run_rack([&] {
    ui_test::answer_file_dialog(night);
    SendMessageA(main_window, WM_COMMAND, IDM_INSERT_DISC, 0);
    inserted_title = cd_disc_title();
    ui_test::on_dialog([&](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_PREF_CDROM, dawn.c_str());
      SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(main_window, WM_COMMAND, IDM_PREFERENCES, 0);
    ready_after_prefs = cd_ready();
    after_prefs = cd_status("number of tracks");
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(inserted_title, "Night Drive");
  EXPECT_EQ(ready_after_prefs, 1);
  EXPECT_EQ(after_prefs, "3");
  EXPECT_EQ(read_setting("Rack", "CDAudioOn"), "YES");
  char stored[512] = "";
  GetPrivateProfileStringA("Platform", "CDROM", "", stored, sizeof stored, "platform.ini");
  EXPECT_EQ(std::string(stored), dawn);
}

TEST_F(CdFromDesktop, ThePlayerObjectDrivesTheCdAndShowsItsTitles) {
  ASSERT_FALSE(private_bus::address().empty()) << "dbus-daemon could not be started (scripts/install-deps)";
  QVariantMap first, second;
  std::string after_pause, after_play, after_stop;
  run_rack([&] {
    send_open_files(main_window, {night});
    private_bus::player_call("PlayPause");
    ui_test::pump_until([] { return cd_status("mode") == "playing"; }, 2000);
    ui_test::pump_until([] { return metadata().value("xesam:title").toString() == "First Light"; }, 2000);
    first = metadata();
    private_bus::player_call("Next");
    ui_test::pump_until([] { return metadata().value("xesam:trackNumber").toInt() == 2; }, 2000);
    second = metadata();
    private_bus::player_call("Pause");
    ui_test::pump_until([] { return cd_status("mode") == "paused"; }, 2000);
    after_pause = cd_status("mode");
    private_bus::player_call("Play");
    ui_test::pump_until([] { return cd_status("mode") == "playing"; }, 2000);
    after_play = cd_status("mode");
    private_bus::player_call("Stop");
    ui_test::pump_until([] { return cd_status("mode") == "stopped"; }, 2000);
    after_stop = cd_status("mode");
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(first.value("xesam:title").toString(), "First Light");
  EXPECT_EQ(first.value("xesam:album").toString(), "Night Drive");
  EXPECT_EQ(first.value("xesam:trackNumber").toInt(), 1);
  EXPECT_EQ(first.value("mpris:length").toLongLong(), 3'000'000);
  EXPECT_EQ(second.value("xesam:title").toString(), "Last Call");
  EXPECT_EQ(after_pause, "paused");
  EXPECT_EQ(after_play, "playing");
  EXPECT_EQ(after_stop, "stopped");
}
