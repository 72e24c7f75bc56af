// The rack on a session bus of its own: the media player object, and a second
// start that hands its files to the running rack.
#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QProcess>
#include <fstream>

#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "private_bus.h"
#include "skin/rack_state.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

struct OnBus : testing::Test {
  TempHome home;
  void SetUp() override {
    ASSERT_FALSE(private_bus::address().empty()) << "dbus-daemon could not be started (scripts/install-deps)";
    ui_test::reset();
    ui_test::script_ui();
  }
  void TearDown() override { ui_test::reset(); }
};

QString root_property(const char* name) {
  return private_bus::player_property("org.mpris.MediaPlayer2", name).toString();
}

}  // namespace

TEST_F(OnBus, PlayerObjectAnswersRaisesAndQuits) {
  QString identity, entry, status;
  bool raised = false;
  const int code = run_rack([&] {
    identity = root_property("Identity");
    entry = root_property("DesktopEntry");
    status = private_bus::player_property("org.mpris.MediaPlayer2.Player", "PlaybackStatus").toString();
    ShowWindow(main_window, SW_MINIMIZE);
    private_bus::call("org.mpris.MediaPlayer2.quorvin", "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2", "Raise");
    raised = ui_test::pump_until([] { return !IsIconic(main_window); }, 2000);
    // Quit ends the program as the power button does; run_rack fails if it does not.
    private_bus::call("org.mpris.MediaPlayer2.quorvin", "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2", "Quit");
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(identity, "Quorvin");
  EXPECT_EQ(entry, "org.quorvin.Quorvin");
  EXPECT_EQ(status, "Stopped");
  EXPECT_TRUE(raised);
}

TEST_F(OnBus, SecondStartHandsItsFilesToTheRunningRack) {
  const std::string odd = home.file("notes.txt");
  std::ofstream(odd) << "not music";
  int second_exit = -1;
  bool second_ended = false;
  std::string told;
  run_rack([&] {
    ShowWindow(main_window, SW_MINIMIZE);
    QProcess second;
    second.start(QUORVIN_PROGRAM, {QString::fromStdString(odd)});
    second_ended = ui_test::pump_until([&] { return second.state() == QProcess::NotRunning; }, 8000);
    second_exit = second.exitCode();
    // The running rack was raised and tells about the file it can not play.
    ui_test::pump_until([] { return !ui_test::boxes().empty(); }, 3000);
    if (!ui_test::boxes().empty()) told = ui_test::boxes().front().text;
    EXPECT_FALSE(IsIconic(main_window));
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(second_ended);
  EXPECT_EQ(second_exit, 0);
  EXPECT_NE(told.find("notes.txt"), std::string::npos) << told;
}

TEST_F(OnBus, AStartAfterTheRackEndedIsARackAgain) {
  // The name is given up at exit: a rack started later owns it and answers.
  run_rack([] { PostMessageA(main_window, WM_CLOSE, 0, 0); });
  QString identity;
  run_rack([&] {
    identity = root_property("Identity");
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(identity, "Quorvin");
}
