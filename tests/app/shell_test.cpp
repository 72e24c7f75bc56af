// The rack shell end to end: start-up, the window's own behaviour, and shutdown.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "app/settings_file.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "skin/buttons.h"
#include "skin/layout.h"
#include "skin/rack_state.h"
#include "skin/settings_path.h"
#include "support/env_override.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

RECT window_rect() {
  RECT r{};
  GetWindowRect(main_window, &r);
  return r;
}

// The position of a child button in the main window's client coordinates.
POINT button_origin(WORD id) {
  RECT r{};
  GetWindowRect(GetDlgItem(main_window, id), &r);
  POINT p{r.left, r.top};
  ScreenToClient(main_window, &p);
  return p;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Shell : testing::Test {
  TempHome home;
  void SetUp() override { ui_test::reset(); }
  void TearDown() override { ui_test::reset(); }
};

}  // namespace

TEST_F(Shell, SwitchesAreReadLooselyAndWrittenBackExactly) {
  write_setting("Rack", "CDAudioOn", "yes");
  write_setting("Rack", "WaveOn", "No");
  write_setting("Rack", "MidiOn", "");
  int seen[3] = {-1, -1, -1};
  const int code = run_rack([&] {
    seen[0] = cd_audio_on;
    seen[1] = wave_on;
    seen[2] = midi_on;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(seen[0], 1);
  EXPECT_EQ(seen[1], 0);
  EXPECT_EQ(seen[2], 0);
  EXPECT_EQ(read_setting("Rack", "CDAudioOn"), "YES");
  EXPECT_EQ(read_setting("Rack", "WaveOn"), "NO");
  EXPECT_EQ(read_setting("Rack", "MidiOn"), "NO");
  EXPECT_EQ(read_setting("Sound3D", "Space"), "4");
  EXPECT_EQ(read_setting("Sound3D", "Depth"), "4");
}

TEST_F(Shell, MissingSettingsShowEveryModule) {
  RECT r{};
  run_rack([&] {
    r = window_rect();
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(r.right - r.left, 579);
  EXPECT_EQ(r.bottom - r.top, 402);
  EXPECT_EQ(read_setting("Rack", "MidiOn"), "YES");
}

TEST_F(Shell, MixerAloneIsCentred) {
  for (const char* key : {"CDAudioOn", "WaveOn", "MidiOn"}) write_setting("Rack", key, "NO");
  RECT r{};
  int screen_w = 0, screen_h = 0;
  run_rack([&] {
    r = window_rect();
    screen_w = GetSystemMetrics(SM_CXSCREEN);
    screen_h = GetSystemMetrics(SM_CYSCREEN);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(r.right - r.left, 579);
  EXPECT_EQ(r.bottom - r.top, 111);
  EXPECT_EQ(r.left, (screen_w - 579) / 2);
  EXPECT_EQ(r.top, (screen_h - 111) / 2);
}

TEST_F(Shell, ButtonsOfShownModulesOnly) {
  write_setting("Rack", "WaveOn", "NO");
  write_setting("Rack", "MidiOn", "NO");
  POINT power{}, play{};
  bool midi_exists = true, mixer_3d_exists = false;
  run_rack([&] {
    power = button_origin(4999);
    play = button_origin(8001);
    midi_exists = GetDlgItem(main_window, 6004) != nullptr;
    mixer_3d_exists = GetDlgItem(main_window, 5000) != nullptr;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(power.x, 8);
  EXPECT_EQ(power.y, 214);
  EXPECT_EQ(play.x, 493);
  EXPECT_EQ(play.y, 109 + 93);
  EXPECT_FALSE(midi_exists);
  EXPECT_TRUE(mixer_3d_exists);
}

TEST_F(Shell, PressOnAColumnPostsItsCommandAndBesideItDragsTheWindow) {
  RECT before{}, after{};
  run_rack([&] {
    before = window_rect();
    // One pixel left of the first channel column: the face, so a drag.
    ui_test::press(main_window, 55, 25);
    ui_test::move(main_window, 75, 45);
    ui_test::release(main_window, 75, 45);
    ui_test::pump(50);
    after = window_rect();
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(after.left - before.left, 20);
  EXPECT_EQ(after.top - before.top, 20);
}

TEST_F(Shell, CommandWithANotificationCodeRunsTheSameHandler) {
  bool minimised = false;
  run_rack([&] {
    SendMessageA(main_window, WM_COMMAND, MAKEWPARAM(4998, BN_DOUBLECLICKED), 0);
    ui_test::pump(20);
    minimised = IsIconic(main_window);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(minimised);
}

TEST_F(Shell, AltF4ClosesAndAltSpaceDoesNothing) {
  bool alive_after_space = false;
  const int code = run_rack([&] {
    ui_test::key(main_window, VK_SPACE, true);
    ui_test::pump(20);
    alive_after_space = IsWindow(main_window);
    ui_test::key(main_window, VK_F4, true);
  });
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(alive_after_space);
  EXPECT_EQ(read_setting("Rack", "CDAudioOn"), "YES");
}

TEST_F(Shell, PowerButtonClosesTheCdDeviceThenWritesTheSettings) {
  const std::string trace = home.file("trace.log");
  {
    EnvOverride tracing("QUORVIN_TRACE", trace.c_str());
    run_rack([&] { ui_test::click(GetDlgItem(main_window, 4999), 5, 5); });
  }
  EXPECT_NE(slurp(trace).find("close cdaudio"), std::string::npos);
  EXPECT_EQ(read_setting("Sound3D", "Depth"), "4");
}

TEST_F(Shell, HoverShowsTheHandOnlyOverClickAreas) {
  ULONG_PTR over = 0, beside = 0, arrow = 0;
  run_rack([&] {
    arrow = GetClassLongPtrA(main_window, GCL_HCURSOR);
    ui_test::move(main_window, 60, 30);
    over = GetClassLongPtrA(main_window, GCL_HCURSOR);
    ui_test::move(main_window, 40, 30);
    beside = GetClassLongPtrA(main_window, GCL_HCURSOR);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_NE(over, arrow);
  EXPECT_EQ(beside, arrow);
}

TEST_F(Shell, TerminationSignalClosesLikeThePowerButton) {
  CloseOnTerminationSignals();
  const int code = run_rack([&] { raise(SIGTERM); });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(read_setting("Rack", "WaveOn"), "YES");
  EXPECT_EQ(read_setting("Sound3D", "Space"), "4");
}

TEST_F(Shell, ABrokenSettingsFileStartsTheRackAndKeepsWhatItHeld) {
  const char head[] = "\x01\x02[Rack\n\xff\xfe garbage = =\n[Rack]\nWaveOn=no\n";
  const std::string junk = std::string(head, sizeof head - 1) + std::string(5000, 'z') + "\n";
  {
    std::ofstream out(home.file("quorvin.ini"), std::ios::binary);
    out << junk;
  }
  int wave = -1;
  run_rack([&] {
    wave = wave_on;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(wave, 0);
  EXPECT_EQ(read_setting("Rack", "WaveOn"), "NO");
  const std::string after = slurp(home.file("quorvin.ini"));
  EXPECT_NE(after.find("\xff\xfe garbage = ="), std::string::npos);
  EXPECT_NE(after.find(std::string(5000, 'z')), std::string::npos);
}

// The settings follow a folder of any length; the path is never cut, and never
// falls back to the filesystem's root.
TEST(SettingsFile, ALongSettingsFolderKeepsTheSettingsThere) {
  TempHome home;
  std::string folder = home.path();
  while (folder.size() < 300) folder += "/a-rather-long-folder-name";
  EnvOverride where("QUORVIN_HOME", folder.c_str());
  EXPECT_EQ(settings_path(), folder + "/quorvin.ini");
  write_module_switch("WaveOn", 0);
  write_module_switch("MidiOn", 1);
  EXPECT_EQ(read_module_switch("WaveOn"), 0);
  EXPECT_EQ(read_module_switch("MidiOn"), 1);
  EXPECT_EQ(slurp(folder + "/quorvin.ini"), "[Rack]\nWaveOn=NO\nMidiOn=YES\n");

  const std::string beyond = home.path() + "/" + std::string(MAX_PATH, 'x');
  EnvOverride too_long("QUORVIN_HOME", beyond.c_str());
  EXPECT_EQ(settings_path(), beyond + "/quorvin.ini");
}
