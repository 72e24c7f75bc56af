// A settings folder that cannot be written, from the start or only at close:
// the rack runs on, the file keeps what it held, and the user is told once, in
// a box of the main window shown from its loop.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/profile/atomic_file.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "skin/rack_state.h"
#include "skin/settings_path.h"
#include "skin/settings_write.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

constexpr char kBefore[] = "[Rack]\r\nWaveOn=NO\r\n; the user's note\r\n";

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void unwritable(bool on) {
  if (on) {
    profile::set_write_fault_for_testing([](profile::WriteStep) { return false; });
  } else {
    profile::set_write_fault_for_testing(nullptr);
  }
}

struct SettingsFault : testing::Test {
  TempHome home;
  void SetUp() override {
    ui_test::reset();
    ui_test::script_ui();
    std::ofstream(home.file("quorvin.ini"), std::ios::binary) << kBefore;
  }
  void TearDown() override {
    unwritable(false);
    ui_test::reset();
  }
};

// Unwritable from the start: a module's writes during the run are told once,
// from the loop and not inside the write; the close's writes are not told again.
TEST_F(SettingsFault, UnwritableFromTheStartIsToldOnceFromTheLoop) {
  unwritable(true);
  int wave = -1;
  std::size_t boxes_inside_write = 99, boxes_after_loop = 99;
  HWND window = nullptr;
  const int code = run_rack([&] {
    wave = wave_on;
    window = main_window;
    EXPECT_FALSE(save_setting("Directory", "LastDir", "/music"));
    EXPECT_FALSE(save_setting("Directory", "LastDir", "/music/more"));
    boxes_inside_write = ui_test::boxes().size();
    ui_test::pump_until([] { return !ui_test::boxes().empty(); }, 2000);
    ui_test::pump(50);
    boxes_after_loop = ui_test::boxes().size();
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(wave, 0) << "the settings are still read";
  EXPECT_EQ(boxes_inside_write, 0u);
  EXPECT_EQ(boxes_after_loop, 1u);
  ASSERT_EQ(ui_test::boxes().size(), 1u) << "the five writes at close are not told again";
  const ui_test::ShownBox& box = ui_test::boxes()[0];
  EXPECT_EQ(box.owner, window);
  EXPECT_EQ(box.caption, kWindowCaption);
  EXPECT_NE(box.text.find(settings_path()), std::string::npos) << box.text;
  EXPECT_EQ(slurp(settings_path()), kBefore);
}

// A folder that fails only at close is told then, once for the writes, while
// the main window still stands; a writable one is told nothing. (A close that
// changes nothing writes nothing, so the run changes a switch.)
TEST_F(SettingsFault, UnwritableAtCloseIsToldOnceBeforeTheWindowGoes) {
  run_rack([&] { PostMessageA(main_window, WM_CLOSE, 0, 0); });
  EXPECT_TRUE(ui_test::boxes().empty());
  EXPECT_EQ(read_setting("Sound3D", "Depth"), "4");
  const std::string written = slurp(settings_path());

  HWND window = nullptr;
  run_rack([&] {
    window = main_window;
    midi_on = 0;
    unwritable(true);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  ASSERT_EQ(ui_test::boxes().size(), 1u);
  EXPECT_EQ(ui_test::boxes()[0].owner, window);
  EXPECT_EQ(slurp(settings_path()), written) << "the file keeps what it held";
}

}  // namespace
