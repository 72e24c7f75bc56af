// Files dropped on the rack's faces, through the window layer's test driver.
#include <gtest/gtest.h>

#include <fstream>

#include "media/disc_image.h"
#include "platform/mci/mmsystem.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/rack_state.h"
#include "support/rack_program.h"
#include "support/temp_home.h"

namespace {

struct Drops : testing::Test {
  TempHome home;
  void SetUp() override {
    ui_test::reset();
    ui_test::script_ui();
  }
  void TearDown() override { ui_test::reset(); }
};

std::string cd_status(const char* item) {
  char reply[128] = "";
  const std::string command = std::string("status cdaudio ") + item;
  if (mciSendStringA(command.c_str(), reply, sizeof reply, nullptr) != 0) return "<error>";
  return reply;
}

std::string last_box() { return ui_test::boxes().empty() ? "" : ui_test::boxes().back().text; }

}  // namespace

TEST_F(Drops, ADiscImageOnTheCdDeckIsInsertedAndABadOneChangesNothing) {
  const std::string two = testmedia::write_cd_image(home.path(), "two", testmedia::cd_image_of({3, 3}));
  const std::string three = testmedia::write_cd_image(home.path(), "three", testmedia::cd_image_of({2, 2, 2}));
  const std::string broken = home.file("broken.cue");
  std::ofstream(broken) << "this is no cue sheet";
  std::string first, second, after_broken, told;
  run_rack([&] {
    const int y = module_top(Module::Cd) + 60;
    EXPECT_TRUE(ui_test::drop_files(main_window, 150, y, {two}));
    ui_test::pump(20);
    first = cd_status("number of tracks");
    // A second image replaces the first, as a disc swapped in the tray.
    ui_test::drop_files(main_window, 150, y, {three});
    ui_test::pump(20);
    second = cd_status("number of tracks");
    ui_test::drop_files(main_window, 150, y, {broken});
    ui_test::pump(20);
    after_broken = cd_status("number of tracks");
    told = last_box();
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(first, "2");
  EXPECT_EQ(second, "3");
  EXPECT_EQ(after_broken, "3");
  EXPECT_NE(told.find("broken.cue"), std::string::npos) << told;
}

TEST_F(Drops, FilesThatDoNotBelongWhereTheyLandAreRefused) {
  const std::string image = testmedia::write_cd_image(home.path(), "disc", testmedia::cd_image_of({2}));
  const std::string text = home.file("readme.txt");
  std::ofstream(text) << "words";
  std::string on_mixer, wrong_kind;
  run_rack([&] {
    ui_test::drop_files(main_window, 100, 50, {image});
    ui_test::pump(20);
    on_mixer = last_box();
    ui_test::drop_files(main_window, 150, module_top(Module::Cd) + 60, {text});
    ui_test::pump(20);
    wrong_kind = last_box();
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_NE(on_mixer.find("Drop a file on the deck"), std::string::npos) << on_mixer;
  EXPECT_NE(wrong_kind.find("readme.txt"), std::string::npos) << wrong_kind;
  EXPECT_EQ(ui_test::boxes().size(), 2u);
}
