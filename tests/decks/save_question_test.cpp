// The save question before anything replaces or closes deck 2's unsaved
// recording: Close, Open into deck 2, the main window's close; a save that
// fails or is backed out of abandons the action and keeps the recording.
#include <filesystem>

#include "platform/audio/recorder.h"
#include "platform/ui/windows.h"
#include "recording_fixture.h"
#include "resources/ids/menus.h"
#include "skin/rack_state.h"

namespace {

namespace fs = std::filesystem;

// Deck 2 holding an unsaved take over `path`, made below the deck's commands.
void unsaved_take_over(const std::string& path) {
  Deck& deck = wave_deck(2);
  ASSERT_TRUE(load(deck, path));
  ASSERT_EQ(mciSendStringA("record tape2", nullptr, 0, nullptr), 0u);
  play_for(300);
  mciSendStringA("stop tape2", nullptr, 0, nullptr);
  deck.modified = 1;
}

bool asked_to_save(const ui_test::ShownBox& box, const std::string& name) {
  return box.caption == "Verify" && box.text == name + " was modified. Do you want to save it?" &&
         (box.type & MB_YESNO) == MB_YESNO;
}

using SaveQuestion = RecordingTest;

TEST_F(SaveQuestion, CloseSavesWhenAskedOrLosesTheTakeWhenDeclined) {
  const std::string song = wav("song.wav", 1.0), kept = home.file("kept.wav");
  run_rack([&] {
    unsaved_take_over(song);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(kept);
    command(IDM_TAPE2_CLOSE);
    EXPECT_FALSE(wave_deck(2).loaded());
    EXPECT_TRUE(fs::exists(kept));

    unsaved_take_over(song);
    ui_test::answer_box(IDNO);
    command(IDM_TAPE2_CLOSE);
    EXPECT_FALSE(wave_deck(2).loaded());
    close_rack();
  });
  ASSERT_EQ(ui_test::boxes().size(), 2u);
  EXPECT_TRUE(asked_to_save(ui_test::boxes()[0], "song.wav"));
  EXPECT_TRUE(asked_to_save(ui_test::boxes()[1], "song.wav"));
  ASSERT_EQ(ui_test::file_dialogs().size(), 1u);
  const ui_test::ShownFileDialog& dialog = ui_test::file_dialogs()[0];
  EXPECT_TRUE(dialog.save);
  ASSERT_EQ(dialog.filters.size(), 1u) << "wave files only";
  EXPECT_EQ(dialog.filters[0], "Wave Files (*.wav)|*.wav");
  EXPECT_EQ(dialog.flags & (OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN), OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN);
}

// A save that fails (the folder refuses the file) and a Save dialog backed out
// of both keep the deck as it was: the close is abandoned, nothing is left
// under the chosen name, and the user is told which path failed.
TEST_F(SaveQuestion, AFailedOrCancelledSaveAbandonsTheClose) {
  const std::string song = wav("song.wav", 1.0), target = home.file("out.wav");
  run_rack([&] {
    unsaved_take_over(song);
    audio::set_save_fault_for_testing([](audio::SaveStep step) { return step != audio::SaveStep::Write; });
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(target);
    command(IDM_TAPE2_CLOSE);
    const Deck& deck = wave_deck(2);
    EXPECT_EQ(deck.path, song);
    EXPECT_EQ(deck.modified, 1);
    EXPECT_NE(mciGetDeviceIDA("tape2"), 0u);
    EXPECT_FALSE(fs::exists(target));

    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog("");
    command(IDM_TAPE2_CLOSE);
    EXPECT_TRUE(deck.loaded());
    EXPECT_EQ(deck.modified, 1);

    audio::set_save_fault_for_testing(nullptr);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(target);
    command(IDM_TAPE2_CLOSE);
    EXPECT_FALSE(deck.loaded());
    close_rack();
  });
  ASSERT_EQ(ui_test::boxes().size(), 4u);
  const ui_test::ShownBox& failure = ui_test::boxes()[1];
  EXPECT_NE(failure.text.find(target), std::string::npos) << failure.text;
  EXPECT_NE(failure.text.find("not saved"), std::string::npos) << failure.text;
  EXPECT_TRUE(asked_to_save(ui_test::boxes()[2], "song.wav"));
  EXPECT_TRUE(fs::exists(target));
}

// Quitting with an unsaved recording asks once; a failed save keeps the
// program running with the recording, a declined one lets it end.
TEST_F(SaveQuestion, TheMainWindowsCloseAsksAndCanBeAbandoned) {
  const std::string song = wav("song.wav", 1.0);
  bool still_running = false;
  run_rack([&] {
    unsaved_take_over(song);
    audio::set_save_fault_for_testing([](audio::SaveStep step) { return step != audio::SaveStep::Rename; });
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(home.file("out.wav"));
    close_rack();
    ui_test::pump(50);
    still_running = IsWindow(main_window) && wave_deck(2).modified == 1;
    ui_test::answer_box(IDNO);
    close_rack();
  });
  EXPECT_TRUE(still_running);
  ASSERT_EQ(ui_test::boxes().size(), 3u) << "asked, failed, asked: never twice for one close";
  EXPECT_TRUE(asked_to_save(ui_test::boxes()[2], "song.wav"));
  EXPECT_FALSE(fs::exists(home.file("out.wav")));
}

// Open into deck 2 asks before it replaces the recording; an unmodified deck is not asked about.
TEST_F(SaveQuestion, OpenIntoDeck2AsksFirst) {
  const std::string song = wav("song.wav", 1.0), other = wav("other.wav", 0.5);
  run_rack([&] {
    unsaved_take_over(song);
    audio::set_save_fault_for_testing([](audio::SaveStep) { return false; });
    ui_test::answer_file_dialog(other);
    ui_test::answer_box(IDYES);
    ui_test::answer_file_dialog(home.file("out.wav"));
    command(IDM_TAPE2_OPEN);
    EXPECT_EQ(wave_deck(2).path, song) << "the failed save kept the recording";

    ui_test::answer_file_dialog(other);
    ui_test::answer_box(IDNO);
    command(IDM_TAPE2_OPEN);
    EXPECT_EQ(wave_deck(2).path, other);

    ui_test::answer_file_dialog(song);
    command(IDM_TAPE2_OPEN);
    EXPECT_EQ(wave_deck(2).path, song);
    close_rack();
  });
  EXPECT_EQ(ui_test::boxes().size(), 3u);
}

}  // namespace
