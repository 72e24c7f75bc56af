// Files dropped on the rack's faces, through the window layer's test driver.
#include <gtest/gtest.h>

#include <fstream>

#include "decks/decks.h"
#include "media/disc_image.h"
#include "platform/mci/media_files.h"
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

TEST_F(Drops, FilesLoadIntoTheDeckWhoseFaceTheyLandOn) {
  const std::string wav = mcitest::write_sine_wav(home.file("tone.wav"), 1.0, 44100, 2, 16);
  const std::string mid = mcitest::write_tempo_change_midi(home.file("tune.mid"), 6);
  std::string midi_path, deck1_path, refused;
  run_rack([&] {
    ui_test::drop_files(main_window, 150, module_top(Module::Midi) + 25, {mid});
    ui_test::drop_files(main_window, 100, module_top(Module::Wave) + 60, {wav});
    ui_test::pump(20);
    midi_path = midi_deck.path;
    deck1_path = wave_deck(1).path;
    ui_test::drop_files(main_window, 150, module_top(Module::Midi) + 25, {wav});
    ui_test::pump(20);
    refused = last_box();
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(midi_path, mid);
  EXPECT_EQ(deck1_path, wav);
  EXPECT_NE(refused.find("tone.wav"), std::string::npos) << refused;
  EXPECT_NE(refused.find("MIDI deck"), std::string::npos) << refused;
}

// The save question guards the recording: backing out of its Save dialog keeps
// it; declining to save lets the dropped file in.
TEST_F(Drops, AnUnsavedRecordingOnDeck2IsReplacedOnlyAfterTheSaveQuestion) {
  const std::string first = mcitest::write_sine_wav(home.file("first.wav"), 1.0, 44100, 2, 16);
  const std::string second = mcitest::write_sine_wav(home.file("second.wav"), 1.0, 44100, 2, 16);
  std::string kept, replaced;
  run_rack([&] {
    const int y = module_top(Module::Wave) + 60;
    ui_test::drop_files(main_window, 250, y, {first});
    ui_test::pump(20);
    wave_deck(2).modified = 1;  // as a take not saved yet
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog("");
    ui_test::drop_files(main_window, 250, y, {second});
    ui_test::pump(20);
    kept = wave_deck(2).path;
    ui_test::answer_box(IDNO);
    ui_test::drop_files(main_window, 250, y, {second});
    ui_test::pump(20);
    replaced = wave_deck(2).path;
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(kept, first);
  EXPECT_EQ(replaced, second);
}
